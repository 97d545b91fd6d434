// ProcessEnd: shuts the platform down after every game object is gone.
#pragma once

#include <functional>
#include <vector>

class ProcessEnd {
public:
    ~ProcessEnd();
    // Runs at the very end of the process, last registered first.
    void atEnd(std::function<void()> step) { steps_.push_back(std::move(step)); }

private:
    std::vector<std::function<void()>> steps_;
};

extern ProcessEnd processEnd;
