// The table of the windows' controls, data/window_controls.tsv: every row
// names a control that exists under that object name with that caption and
// hint, and every control the program names has its row.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QMap>

#include "shell/editor_window.h"
#include "shell/file_list_dialog.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

struct Row {
  QString window;
  QString object;
  QString caption;
  QString hint;
};

// The rows under the header line; columns: window, object name, caption,
// hint, role, the name it replaces.
QList<Row> ReadTable() {
  QFile file(QStringLiteral(KOLVEDIR_SHELL_TEST_DATA "/window_controls.tsv"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
  QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  if (!lines.isEmpty()) lines.removeFirst();
  QList<Row> rows;
  for (const QString& line : lines) {
    const QStringList cells = line.split('\t');
    EXPECT_EQ(cells.size(), 6) << line.toStdString();
    if (cells.size() == 6) rows.push_back({cells[0], cells[1], cells[2], cells[3]});
  }
  return rows;
}

// The text the control shows: a button's or an action's text, a box's title,
// a window's caption; none for the rest.
QString Caption(const QObject* control) {
  if (const auto* action = qobject_cast<const QAction*>(control)) return action->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
  const auto* widget = qobject_cast<const QWidget*>(control);
  return widget && widget->isWindow() ? widget->windowTitle().remove("[*]") : QString();
}

QString Hint(const QObject* control) {
  const auto* widget = qobject_cast<const QWidget*>(control);
  return widget ? widget->toolTip() : QString();
}

// The window and the objects in it that the program named (Qt names some of
// its own parts "qt_..." or "_...").
QMap<QString, const QObject*> NamedObjects(const QWidget* window) {
  QMap<QString, const QObject*> named;
  QList<const QObject*> objects = {window};
  for (const QObject* child : window->findChildren<QObject*>()) objects.push_back(child);
  for (const QObject* object : objects) {
    const QString name = object->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || name.startsWith('_')) continue;
    EXPECT_FALSE(named.contains(name)) << "two objects named " << name.toStdString();
    named.insert(name, object);
  }
  return named;
}

using ControlsTable = testing::MainWindowTest;

TEST_F(ControlsTable, ListsEveryNamedControlWithItsCaptionAndHint) {
  EditorWindow editor;
  ObjectFilesDialog files(temp_.path(), {});
  HelpWindow help(nullptr, "/nowhere/PL_grid_001.bin");
  AboutWindow about;
  QMap<QString, QMap<QString, const QObject*>> unlisted;
  for (const QWidget* window :
       std::initializer_list<const QWidget*>{&Window(), &editor, &files, &help, &about}) {
    unlisted.insert(window->objectName(), NamedObjects(window));
  }
  const QMap<QString, QMap<QString, const QObject*>> named = unlisted;

  for (const Row& row : ReadTable()) {
    SCOPED_TRACE((row.window + ' ' + row.object).toStdString());
    const QObject* control = named.value(row.window).value(row.object);
    if (!control) {
      ADD_FAILURE() << "no such control";
      continue;
    }
    EXPECT_EQ(Caption(control), row.caption);
    EXPECT_EQ(Hint(control), row.hint);
    unlisted[row.window].remove(row.object);
  }
  for (auto window = unlisted.cbegin(); window != unlisted.cend(); ++window) {
    EXPECT_EQ(window.value().keys(), QStringList()) << "not in the table, window "
                                                    << window.key().toStdString();
  }
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
