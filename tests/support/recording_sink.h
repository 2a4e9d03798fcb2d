#pragma once
// A message sink that remembers what would have been shown.

#include <string>
#include <vector>

#include "engine/messages.h"

namespace merkwald::test {

class RecordingSink final : public MessageSink {
public:
    struct Shown {
        std::string text;
        MessageIcon icon;
    };
    void show_message(std::string_view text, MessageIcon icon) override {
        shown.push_back({std::string(text), icon});
    }
    std::vector<Shown> shown;
};

}  // namespace merkwald::test
