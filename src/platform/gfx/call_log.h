// CallLog: the device calls of the current frame, in order, each as its
// operation name and numeric arguments. Tests read it to check call order and
// the headless trace prints it; recording is off unless someone asks for it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace platform::gfx {

struct GfxCall {
    std::string op;            // "SetRenderState", "DrawSubset", "Sprite.Draw", ...
    std::vector<double> args;  // the call's arguments as numbers
};

class CallLog {
public:
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

    void add(const char* op, std::initializer_list<double> args = {}) {
        if (enabled_) calls_.push_back({op, std::vector<double>(args)});
    }
    void add(const char* op, std::vector<double> args) {
        if (enabled_) calls_.push_back({op, std::move(args)});
    }

    const std::vector<GfxCall>& calls() const { return calls_; }
    // Drops what was recorded (the start of a new trace frame).
    void clear() { calls_.clear(); }

    // Number of recorded calls named op.
    std::size_t count(const std::string& op) const {
        std::size_t n = 0;
        for (const auto& c : calls_) n += c.op == op;
        return n;
    }

private:
    bool enabled_ = false;
    std::vector<GfxCall> calls_;
};

}  // namespace platform::gfx
