#pragma once
// The reminder sound through Qt Multimedia. Nothing is loaded before the first
// sound, so a start without sound does not pay for the audio back end; a machine
// without an audio device plays nothing and reports nothing.

#include <memory>

#include "shell/platform.h"

class QSoundEffect;

namespace merkwald {

class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString& file) override;

private:
#ifdef MERKWALD_HAVE_MULTIMEDIA
    std::unique_ptr<QSoundEffect> effect_;
#endif
};

}  // namespace merkwald
