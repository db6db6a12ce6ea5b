#include "shell/info_windows.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "engine/program_places.h"
#include "grid/model_grid.h"
#include "kolvedir/version.h"
#include "shell/editor_font.h"
#include "shell/window_placement.h"

// The help text is a resource of a static library: it must be registered.
static void InitHelpTextResource() { Q_INIT_RESOURCE(info_windows); }

namespace kolvedir {

namespace {

QString HelpTemplate() {
  InitHelpTextResource();
  QFile file(":/kolvedir/help_text.txt");
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QPlainTextEdit* NewReadOnlyText(QWidget* parent, const char* name, const QColor& background) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::Text, Qt::black);
  memo->setPalette(palette);
  auto* layout = new QVBoxLayout(parent);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(memo);
  return memo;
}

}  // namespace

QString InstalledGridText(const QString& gridFile) {
  if (!QFileInfo(gridFile).isFile()) return "brak pliku PL_grid_001.bin";
  if (IsModelGrid(QFile::encodeName(gridFile).toStdString()))
    return "siatka MODELOWA - do wypróbowania programu, nie do prac praktycznych";
  return "PL_grid_001.bin dostarczony osobno (nie jest siatką modelową)";
}

QString HelpText(const QString& gridFile) {
  return HelpTemplate()
      .replace("{VERSION}", KOLVEDIR_VERSION)
      .replace("{GRID}", InstalledGridText(gridFile));
}

HelpWindow::HelpWindow(QWidget* parent, const QString& gridFile)
    : QWidget(parent, kOwnedWindow), gridFile_(gridFile) {
  setObjectName("helpWindow");
  setWindowTitle("Kolvedir 2.x INFO");
  helpText_ = NewReadOnlyText(this, "helpText", QColor(0, 255, 255));
  helpText_->setFont(CourierNewFont(8));
  helpText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const int width = helpText_->fontMetrics().horizontalAdvance(QString(82, 'M'));
  resize(width + helpText_->verticalScrollBar()->sizeHint().width(), 560);
}

void HelpWindow::showEvent(QShowEvent* event) {
  // The grid may be replaced while the program runs.
  const QString grid = gridFile_.isEmpty()
                           ? QFile::decodeName(GridInUse(PlacesOfThisPart()).c_str())
                           : gridFile_;
  helpText_->setPlainText(HelpText(grid));
  QWidget::showEvent(event);
}

AboutWindow::AboutWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("aboutWindow");
  setWindowTitle("KOLVEDIR w. 2.xx");
  aboutText_ = NewReadOnlyText(this, "aboutText", QColor(255, 255, 0));
  aboutText_->setPlainText(
      "\n   KOLVEDIR  w. " KOLVEDIR_VERSION " (2013)\n\n"
      "   Transformacje współrzędnych pomiędzy układami\n"
      "   stosowanymi w Polsce, z modułem quasigeoidy\n"
      "   PL-geoid-2011\n\n"
      "   Opracowanie: zespół autorski programu KOLVEDIR\n"
      "   Na zlecenie państwowej służby geodezyjnej\n\n"
      "   Ukończono: grudzień 2012\n");
  QFont font = aboutText_->font();
  font.setPointSize(10);
  aboutText_->setFont(font);
  setFixedSize(420, 215);
}

}  // namespace kolvedir
