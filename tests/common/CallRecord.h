#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace tessaroc::test {

// The calls a scripted device or a recording service received, as short
// lines in order. A program that ends on its own (the whole client) has each
// line echoed at once.
struct CallRecord
{
    std::vector<std::string> calls;
    std::function<void(const std::string &)> echo;

    void record(std::string call)
    {
        if (echo)
            echo(call);
        calls.push_back(std::move(call));
    }
    bool called(const std::string &call) const
    {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int count(const std::string &call) const
    {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

} // namespace tessaroc::test
