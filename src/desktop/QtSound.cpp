#include "desktop/QtSound.h"

#include <QFileInfo>
#include <QUrl>

QtSound::QtSound()
    : m_owner(std::make_unique<QObject>()) {}

QtSound::~QtSound() = default;

void QtSound::play(const QString& path) {
    if (m_playing)
        m_playing->stop();
    // A file that is not there plays nothing, and no effect is made for it.
    if (!QFileInfo(path).isFile())
        return;
    QSoundEffect*& effect = m_effects[path];
    if (!effect) {
        effect = new QSoundEffect(m_owner.get());
        effect->setSource(QUrl::fromLocalFile(path));
    }
    effect->play();
    m_playing = effect;
}
