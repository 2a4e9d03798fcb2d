// The Qt Multimedia side of the reminder sound, built as a module of its own: the
// programs load it on the first sound, so a start without sound does not load
// the audio libraries at all.

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

#include "shell/platform/platform.h"

namespace {

class EffectPlayer final : public merkwald::SoundPlayer {
public:
    void play(const QString& file) override {
        // No file or no audio device: no sound, and nothing to report.
        if (!QFileInfo(file).isFile() || QMediaDevices::audioOutputs().isEmpty()) return;
        if (!effect_) effect_ = std::make_unique<QSoundEffect>();
        effect_->stop();
        const QUrl source = QUrl::fromLocalFile(file);
        if (effect_->source() == source && effect_->status() == QSoundEffect::Ready) {
            effect_->play();
            return;
        }
        // Loading is asynchronous: play as soon as the file is ready.
        QSoundEffect* effect = effect_.get();
        QObject::disconnect(effect, &QSoundEffect::statusChanged, nullptr, nullptr);
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() == QSoundEffect::Ready) {
                QObject::disconnect(effect, &QSoundEffect::statusChanged, nullptr, nullptr);
                effect->play();
            }
        });
        effect_->setSource(source);
    }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace

extern "C" Q_DECL_EXPORT merkwald::SoundPlayer* merkwald_create_sound_player() {
    return new EffectPlayer;
}
