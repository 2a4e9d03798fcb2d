#include <gtest/gtest.h>

#include <QLibrary>
#include <memory>

#include "shell/platform.h"

namespace merkwald {
namespace {

// The programs load the player on the first sound; a module that does not load
// or lacks its entry point would leave every reminder silent without a word.
TEST(SoundModule, LoadsAndCreatesItsPlayer) {
#ifdef MERKWALD_SOUND_MODULE
    QLibrary module(QStringLiteral(MERKWALD_SOUND_MODULE));
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    using Factory = SoundPlayer* (*)();
    const auto create = reinterpret_cast<Factory>(module.resolve("merkwald_create_sound_player"));
    ASSERT_NE(create, nullptr);
    const std::unique_ptr<SoundPlayer> player(create());
    EXPECT_NE(player, nullptr);
#else
    GTEST_SKIP() << "built without Qt Multimedia";
#endif
}

}  // namespace
}  // namespace merkwald
