#include "shell/dialog_service.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

// Result files are named as such in the file dialogs; other files keep the
// system's type.
TEST(PointFileIconProviderTest, ResultFilesArePlikWynikowy) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const PointFileIconProvider icons;
  const struct {
    const char* name;
    bool result;
  } cases[] = {{"xy2000.1", true}, {"BLH_n.1", true}, {"xy2000", false}, {"notatnik.txt", false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(testing::WriteAll(dir.filePath(c.name), "1 2 3\r\n"));
    const QString type = icons.type(QFileInfo(dir.filePath(c.name)));
    EXPECT_EQ(type == "Plik wynikowy", c.result) << c.name << " " << type.toStdString();
  }
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunGuiTests(argc, argv);
}
