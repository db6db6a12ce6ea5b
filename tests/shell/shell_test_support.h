#pragma once
// Helpers shared by the shell's GUI tests: the build's program folder, file
// reading and writing, a scripted dialog service, key presses, and a program
// folder in a temporary directory with the main window built on it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <system_error>
#include <utility>
#include <vector>

#include "shell/copy_library.h"
#include "shell/dialog_service.h"
#include "shell/main_window.h"

// Qt's own step of a key press that tries the shortcuts first, as a key press
// from the window system does (Qt's test module calls it the same way).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* receiver, ulong timestamp, int key,
                                               Qt::KeyboardModifiers modifiers,
                                               const QString& text, bool autoRepeat,
                                               ushort count);

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kolvedir::testing {

// The code a selection value stands for (the tags of the radio buttons).
template <typename Enum>
int Code(Enum value) {
  return static_cast<int>(value);
}

// The program folder's bin of this build (tests live in <build>/tests).
inline QString BuildBinFolder() {
  const auto exe = std::filesystem::canonical("/proc/self/exe");
  return QString::fromStdString((exe.parent_path().parent_path() / "Kolvedir" / "bin").string());
}

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Records every dialog and answers from a script: questions take the queued
// answers, file dialogs return the queued paths (empty, i.e. cancelled, when
// none is left; the dialog for several files takes every queued path), the font dialog chooses chosenFont (cancelled when unset) and
// the print dialog hands the printer to setUpPrinter (cancelled when unset).
// A question beyond the queued answers is answered No, or, when
// failOnUnexpectedQuestion is set, fails the test and is answered Cancel.
// onQuestion runs once, at the next question, before it takes its answer.
class ScriptedDialogs : public DialogService {
 public:
  struct Shown {
    QString kind;  // "information", "message", "question", "open", "save"
    QString title;
    QString text;  // the text, or the initial folder of a file dialog
  };

  std::vector<Shown> shown;
  std::deque<Answer> answers;
  std::deque<QString> paths;
  std::optional<QFont> chosenFont;
  std::function<void(QPrinter&)> setUpPrinter;
  bool failOnUnexpectedQuestion = false;
  std::function<void()> onQuestion;

  // The texts of the dialogs of one kind, or of every dialog when kind is empty.
  QStringList Texts(const QString& kind = QString()) const {
    QStringList texts;
    for (const Shown& s : shown) {
      if (kind.isEmpty() || s.kind == kind) texts << s.text;
    }
    return texts;
  }

  void Information(QWidget*, const QString& title, const QString& text) override {
    shown.push_back({"information", title, text});
  }
  void Message(QWidget*, const QString& text) override { shown.push_back({"message", {}, text}); }
  Answer Question(QWidget*, const QString& title, const QString& text, bool) override {
    shown.push_back({"question", title, text});
    if (onQuestion) std::exchange(onQuestion, nullptr)();
    if (answers.empty()) {
      if (!failOnUnexpectedQuestion) return Answer::No;
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return Answer::Cancel;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString OpenFileName(QWidget*, const QString& caption, const QString& dir,
                       const QString&) override {
    shown.push_back({"open", caption, dir});
    return NextPath();
  }
  QStringList OpenFileNames(QWidget*, const QString& caption, const QString& dir,
                            const QString&) override {
    shown.push_back({"open", caption, dir});
    QStringList all(paths.begin(), paths.end());
    paths.clear();
    return all;
  }
  QString SaveFileName(QWidget*, const QString& caption, const QString& dir,
                       const QString&) override {
    shown.push_back({"save", caption, dir});
    return NextPath();
  }
  bool ChooseFont(QWidget*, QFont& font) override {
    if (!chosenFont) return false;
    font = *chosenFont;
    return true;
  }
  bool SetUpPrinter(QWidget*, QPrinter& printer) override {
    if (!setUpPrinter) return false;
    setUpPrinter(printer);
    return true;
  }

 private:
  QString NextPath() {
    if (paths.empty()) return {};
    const QString path = paths.front();
    paths.pop_front();
    return path;
  }
};

// Key presses as the user makes them (Qt's test module is not linked); a key
// of a shortcut of the widget's window triggers it.
inline void KeyClick(QWidget* widget, int key, const QString& text = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (qt_sendShortcutOverrideEvent(widget, 0, key, modifiers, text, false, 1)) return;
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

inline void KeyClicks(QWidget* widget, const QString& text) {
  for (const QChar c : text) KeyClick(widget, c.toUpper().unicode(), QString(c));
}

// A program folder Kolvedir/bin with OBIEKTY beside it, in a temporary
// directory; the main window is built on it on first use.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    bin_ = temp_.filePath("Kolvedir/bin");
    objects_ = temp_.filePath("Kolvedir/OBIEKTY");
    ASSERT_TRUE(QDir().mkpath(bin_));
    SetDialogService(&dialogs_);
    SetCopyLibraryFolder(BuildBinFolder());
  }
  void TearDown() override {
    window_.reset();
    SetDialogService(nullptr);
    SetCopyLibraryFolder(QString());
    // By bytes: Qt does not see entries whose names are not valid UTF-8.
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(temp_.path()).toStdString(), ignored);
  }

  void AddObjects(const QStringList& names) {
    for (const QString& name : names) ASSERT_TRUE(QDir().mkpath(objects_ + '/' + name));
  }

  MainWindow& Window() {
    if (!window_) {
      window_ = std::make_unique<MainWindow>(bin_);
      window_->show();
    }
    return *window_;
  }

  template <typename T = QWidget>
  T* Find(const QString& name) {
    T* widget = Window().findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }

  bool Visible(const QString& name) { return Find<QWidget>(name)->isVisible(); }

  // Clicks a button as the user would: only a visible, enabled one; a job it
  // starts on the worker thread is let run to its end.
  void Click(const QString& name) {
    auto* button = Find<QAbstractButton>(name);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible()) << name.toStdString() << " is hidden";
    ASSERT_TRUE(button->isEnabled()) << name.toStdString() << " is disabled";
    button->click();
    while (window_ && window_->JobRunning()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  }

  // Presses and releases the left mouse button in the middle of a visible widget.
  void ClickWidget(const QString& name) {
    QWidget* widget = Find<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << name.toStdString() << " is hidden";
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, centre, global, Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(widget, &event);
    }
  }

  QTemporaryDir temp_;
  QString bin_;
  QString objects_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> window_;
};

// main() of a GUI test: the widgets need an application object, which runs
// offscreen unless the environment names another platform (test discovery
// runs the program without the tests' environment).
inline int RunGuiTests(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace kolvedir::testing
