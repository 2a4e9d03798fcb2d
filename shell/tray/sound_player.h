#pragma once
// The reminder sound. The Qt Multimedia player lives in a module that is loaded
// on the first sound, so a start without sound does not pay for the audio
// libraries; without the module or an audio device nothing plays and nothing is
// reported.

#include <QStringList>
#include <memory>

#include "shell/platform/platform.h"

namespace merkwald {

class QtSoundPlayer final : public SoundPlayer {
public:
    // Where the sound module is looked for, in this order.
    explicit QtSoundPlayer(QStringList module_folders);
    ~QtSoundPlayer() override;
    void play(const QString& file) override;

private:
    QStringList folders_;
    bool tried_ = false;
    std::unique_ptr<SoundPlayer> player_;
};

}  // namespace merkwald
