#pragma once
// A message sink for the windows' refresh: the reader's "file cannot be read"
// names no file, so the box gets the file's path under the reader's text. The
// command-line tool keeps the bare text on its standard error.

#include "engine/engine_state.h"
#include "engine/messages.h"

namespace merkwald {

class FileNamingSink final : public MessageSink {
public:
    FileNamingSink(MessageSink& inner, const EngineState& state, const RefreshTables& tables)
        : inner_(inner), state_(state), tables_(tables) {}
    void show_message(std::string_view text, MessageIcon icon) override;

private:
    MessageSink& inner_;
    const EngineState& state_;
    const RefreshTables& tables_;
};

}  // namespace merkwald
