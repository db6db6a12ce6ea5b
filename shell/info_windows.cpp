#include "shell/info_windows.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kolvedir {

TForm3::TForm3(QWidget* parent, const QString& gridFile)
    : QWidget(parent, Qt::Window), gridFile_(gridFile) {
  setObjectName("Form3");
  setWindowTitle("Kolvedir 2.x INFO");
  m1 = new QPlainTextEdit(this);
  m1->setObjectName("m1");
  m1->setReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m1);
}

void TForm3::showEvent(QShowEvent* event) { QWidget::showEvent(event); }

TForm5::TForm5(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Form5");
  setWindowTitle("KOLVEDIR w. 2.xx");
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
}

}  // namespace kolvedir
