#include "framework/ui_edit.h"

#include <QLineEdit>

#include "framework/paint_manager.h"
#include "framework/qt_bridge.h"

namespace DuiLib {

CEditUI::CEditUI() {
  auto* editor = new QLineEdit();
  editor->setFrame(false);
  editor->setMaxLength(maxChar_);
  QObject::connect(editor, &QLineEdit::textEdited, editor, [this](const QString& text) {
    text_ = text.toStdString();
    if (manager_ != nullptr) manager_->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
  });
  SetHostedWidget(editor);
  StyleEditor();
}

CEditUI::~CEditUI() = default;

void* CEditUI::GetInterface(std::string_view name) {
  if (name == "Edit") return static_cast<CEditUI*>(this);
  return CLabelUI::GetInterface(name);
}

static QLineEdit* Editor(const CControlUI* c) {
  return static_cast<QLineEdit*>(c->GetHostedWidget());
}

void CEditUI::SetText(std::string_view text) {
  text_ = text;
  if (QLineEdit* e = Editor(this)) {
    e->setText(ToQ(text));
    e->setCursorPosition(0);
  }
}

CDuiString CEditUI::GetText() const {
  if (QLineEdit* e = Editor(this)) return e->text().toStdString();
  return text_;
}

void CEditUI::SetToolTip(std::string_view text) {
  CLabelUI::SetToolTip(text);
  if (QLineEdit* e = Editor(this)) e->setToolTip(ToQ(text));
}

void CEditUI::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (QLineEdit* e = Editor(this)) e->setReadOnly(readOnly);
}

void CEditUI::SetMaxChar(int max) {
  maxChar_ = max;
  if (QLineEdit* e = Editor(this)) e->setMaxLength(max);
}

void CEditUI::SetSelAll() {
  if (QLineEdit* e = Editor(this)) e->selectAll();
}

void CEditUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (QLineEdit* e = Editor(this)) e->setEnabled(enabled);
}

void CEditUI::DoInit() {
  StyleEditor();
}

void CEditUI::StyleEditor() {
  QLineEdit* e = Editor(this);
  if (e == nullptr) return;
  const DWORD color = textColor_ != 0 ? textColor_ : 0xFFE6E8EB;
  e->setStyleSheet(QString("QLineEdit{background:transparent;color:#%1;border:none;"
                           "selection-background-color:#2f80ed;}")
                       .arg(color & 0xFFFFFF, 6, 16, QChar('0')));
  if (manager_ != nullptr) e->setFont(manager_->GetQFont(font_));
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "readonly")
    SetReadOnly(value == "true");
  else if (name == "maxchar")
    SetMaxChar(std::atoi(std::string(value).c_str()));
  else {
    CLabelUI::SetAttribute(name, value);
    if (name == "textcolor" || name == "font") StyleEditor();
  }
}

RECT CEditUI::GetHostedRect() const {
  return RECT{rcItem_.left + textPadding_.left + borderSize_,
              rcItem_.top + textPadding_.top + borderSize_,
              rcItem_.right - textPadding_.right - borderSize_,
              rcItem_.bottom - textPadding_.bottom - borderSize_};
}

}  // namespace DuiLib
