#include "shell/tray/sound_player.h"

#include <QLibrary>

namespace merkwald {

QtSoundPlayer::QtSoundPlayer(QStringList module_folders) : folders_(std::move(module_folders)) {}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& file) {
    if (!tried_) {
        tried_ = true;
        using Factory = SoundPlayer* (*)();
        for (const QString& folder : folders_) {
            QLibrary module(folder + QStringLiteral("/merkwald_sound"));
            // Kept loaded for the rest of the run: the player's code lives there.
            if (auto create =
                    reinterpret_cast<Factory>(module.resolve("merkwald_create_sound_player"))) {
                player_.reset(create());
                break;
            }
        }
    }
    if (player_) player_->play(file);
}

}  // namespace merkwald
