#pragma once
// What every scenario includes: doctest, the driver, and a readable form of text lists in
// failure messages.
#include <doctest.h>

#include "driver.h"

#include <string>
#include <vector>

namespace doctest {
template <> struct StringMaker<std::vector<std::string>> {
    static String convert(const std::vector<std::string>& items)
    {
        std::string text = "{";
        for (size_t i = 0; i < items.size(); ++i)
            text += (i ? ", \"" : "\"") + items[i] + "\"";
        return (text + "}").c_str();
    }
};
} // namespace doctest
