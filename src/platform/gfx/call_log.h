// CallLog: the device calls of the current frame, in order, each as its
// operation name and numeric arguments. Tests read it to check call order and
// the headless trace prints it; recording is off unless someone asks for it.
// The records of earlier frames are reused, so once the log has seen a busy
// frame, recording allocates nothing.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace platform::gfx {

struct GfxCall {
    std::string op;            // "SetRenderState", "DrawSubset", "Sprite.Draw", ...
    std::vector<double> args;  // the call's arguments as numbers
};

// The calls of one frame, valid until the next call is recorded.
using CallList = std::span<const GfxCall>;

class CallLog {
public:
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

    // Starts a call and returns it with no arguments, for the caller to add
    // them; null while recording is off.
    GfxCall* begin(const char* op) {
        if (!enabled_) return nullptr;
        if (size_ == records_.size()) records_.emplace_back();
        GfxCall& c = records_[size_++];
        c.op.assign(op);
        c.args.clear();
        return &c;
    }
    void add(const char* op, std::initializer_list<double> args = {}) {
        if (GfxCall* c = begin(op)) c->args.assign(args);
    }

    CallList calls() const { return {records_.data(), size_}; }
    // Drops what was recorded (the start of a new trace frame).
    void clear() { size_ = 0; }

    // Number of recorded calls named op.
    std::size_t count(const std::string& op) const {
        std::size_t n = 0;
        for (const auto& c : calls()) n += c.op == op;
        return n;
    }

private:
    bool enabled_ = false;
    std::vector<GfxCall> records_;  // the first size_ are this frame's
    std::size_t size_ = 0;
};

}  // namespace platform::gfx
