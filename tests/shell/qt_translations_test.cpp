#include "shell/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

QString YesButtonText() { return QCoreApplication::translate("QPlatformTheme", "&Yes"); }

// Missing translations leave Qt's English texts; a copy in the program folder
// or the system's file gives the Polish buttons.
TEST(QtTranslationsTest, PolishButtonsFromTheProgramFolderOrTheSystem) {
  QTemporaryDir empty, shipped;
  ASSERT_TRUE(empty.isValid() && shipped.isValid());
  const QString systemFolder = QtTranslationFolders(shipped.path()).last();
  ASSERT_TRUE(QFile::copy(systemFolder + "/qtbase_pl.qm", shipped.filePath("qtbase_pl.qm")))
      << "qt6-translations-l10n missing";

  EXPECT_FALSE(InstallQtPolishTranslations({empty.path(), empty.filePath("none")}));
  EXPECT_EQ(YesButtonText(), "&Yes");
  EXPECT_TRUE(InstallQtPolishTranslations({empty.path(), shipped.path()}));
  EXPECT_EQ(YesButtonText(), "&Tak");
  EXPECT_TRUE(InstallQtPolishTranslations(QtTranslationFolders(empty.path())));
  EXPECT_EQ(YesButtonText(), "&Tak");
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunGuiTests(argc, argv);
}
