#include "shell/sound_player.h"

#include <QFileInfo>
#include <QUrl>

#ifdef MERKWALD_HAVE_MULTIMEDIA
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#endif

namespace merkwald {

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& file) {
#ifdef MERKWALD_HAVE_MULTIMEDIA
    if (!QFileInfo(file).isFile() || QMediaDevices::audioOutputs().isEmpty()) return;
    if (!effect_) effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    const QUrl source = QUrl::fromLocalFile(file);
    if (effect_->source() == source && effect_->status() == QSoundEffect::Ready) {
        effect_->play();
        return;
    }
    // Loading is asynchronous: play as soon as the file is ready.
    QObject::disconnect(effect_.get(), &QSoundEffect::statusChanged, nullptr, nullptr);
    QSoundEffect* effect = effect_.get();
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Ready) {
            QObject::disconnect(effect, &QSoundEffect::statusChanged, nullptr, nullptr);
            effect->play();
        }
    });
    effect_->setSource(source);
#else
    (void)file;
#endif
}

}  // namespace merkwald
