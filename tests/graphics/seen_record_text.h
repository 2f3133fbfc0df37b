#pragma once

#include <initializer_list>
#include <string>

namespace tsukikage::test_support {

// The bytes of a seen-picture record of `count` pictures with the given ones seen.
inline std::string SeenRecordText(int count, std::initializer_list<int> seen = {}) {
    std::string bytes = std::to_string(count) + "\r\n";
    for (int i = 1; i <= count; ++i) {
        bool is_seen = false;
        for (int n : seen) is_seen = is_seen || n == i;
        bytes += is_seen ? "#TRUE#\r\n" : "#FALSE#\r\n";
    }
    return bytes;
}

}  // namespace tsukikage::test_support
