#include "shell/editor_window.h"

#include <QCloseEvent>
#include <QPointer>
#include <vector>

namespace kolvedir {

namespace {
QPointer<QWidget> editorOwner;
std::vector<QPointer<TForm4>> editors;
}  // namespace

TForm4::TForm4(QWidget* parent) : QMainWindow(parent, Qt::Window) {
  setObjectName("Form4");
  SetCaption("Nowy dokument");
}

void TForm4::SetCaption(const QString& path) {
  caption_ = path;
  setWindowTitle(path);
}

bool TForm4::IsModified() const { return false; }
QString TForm4::Text() const { return QString(); }
void TForm4::LoadFile(const QString& path) { SetCaption(path); }
bool TForm4::SaveTo(const QString&) { return false; }
void TForm4::ShowEditor() { show(); }
bool TForm4::SaveOrDiscardChanges() { return true; }
void TForm4::SpeedButton4Click() {}
void TForm4::SpeedButton3Click() {}
void TForm4::SpeedButton1Click() {}
void TForm4::Zapiszjako1Click() {}
void TForm4::SpeedButton2Click() {}
void TForm4::SpeedButton5Click() {}
void TForm4::SpeedButton8Click() {}
void TForm4::SpeedButton9Click() {}
void TForm4::SpeedButton10Click() {}
void TForm4::SpeedButton7Click() {}
void TForm4::SpeedButton6Click() {}
void TForm4::SpeedButton11Click() {}
void TForm4::SpeedButton12Click() { close(); }
void TForm4::TrackBar1Change(int) {}
void TForm4::Edit1KeyPressEnter() {}
void TForm4::fd1Find() {}
void TForm4::PopupUndoClick() {}
void TForm4::closeEvent(QCloseEvent* event) { event->accept(); }
void TForm4::CreateToolBar() {}
void TForm4::CreateMenus() {}
void TForm4::CreatePopupMenu() {}
void TForm4::CreateFindDialog() {}
void TForm4::PrepareSearchStart(int&) const {}
void TForm4::ApplyFontSize(int) {}

void SetEditorOwner(QWidget* owner) { editorOwner = owner; }

TForm4* CurrentEditor() {
  for (auto it = editors.rbegin(); it != editors.rend(); ++it)
    if (*it) return *it;
  editors.emplace_back(new TForm4(editorOwner));
  return editors.back();
}

TForm4* OpenInEditor(const QString& path) {
  editors.emplace_back(new TForm4(editorOwner));
  TForm4* editor = editors.back();
  editor->LoadFile(path);
  editor->ShowEditor();
  return editor;
}

void ShowCurrentEditor(const QString& objectFolder) {
  CurrentEditor()->SetCaption(objectFolder + "/Nowy dokument");
  CurrentEditor()->ShowEditor();
}

bool LoadIntoCurrentEditor(const QString& path) {
  CurrentEditor()->LoadFile(path);
  CurrentEditor()->ShowEditor();
  return true;
}

bool ConfirmCloseAllEditors() { return true; }

}  // namespace kolvedir
