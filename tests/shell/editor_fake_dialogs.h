#pragma once
// A scripted dialog service for the editor, file list and information window
// tests, and key presses sent to a widget.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

#include "shell/dialog_service.h"

namespace kolvedir::testing {

class FakeDialogs final : public DialogService {
 public:
  struct Shown {
    QString title;
    QString text;
  };

  FakeDialogs() { SetDialogService(this); }
  ~FakeDialogs() override { SetDialogService(nullptr); }

  void Information(QWidget*, const QString& title, const QString& text) override {
    shown.push_back({title, text});
  }
  void Message(QWidget*, const QString& text) override { shown.push_back({QString(), text}); }
  Answer Question(QWidget*, const QString& title, const QString& text, bool) override {
    shown.push_back({title, text});
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return Answer::Cancel;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return fileName;
  }
  QStringList OpenFileNames(QWidget*, const QString&, const QString&, const QString&) override {
    return fileName.isEmpty() ? QStringList() : QStringList{fileName};
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return fileName;
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

  QStringList Texts() const {
    QStringList texts;
    for (const Shown& s : shown) texts << s.text;
    return texts;
  }

  std::vector<Shown> shown;
  std::deque<Answer> answers;
  QString fileName;
  std::optional<QFont> chosenFont;
  std::function<void(QPrinter&)> setUpPrinter;
};

// Key presses as the user makes them (Qt's test module is not linked).
inline void KeyClick(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

inline void KeyClicks(QWidget* widget, const QString& text) {
  for (const QChar c : text) KeyClick(widget, c.toUpper().unicode(), QString(c));
}

}  // namespace kolvedir::testing
