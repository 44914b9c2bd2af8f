#pragma once

#include <functional>
#include <string>

// The message of the exception of class E that the action raises; "none" when it raises nothing.
template <class E> std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    } catch (...) {
        return "another exception";
    }
    return "none";
}
