#include "platform/vcl/fkeybar.h"

#include <QAbstractButton>

std::string FunctionKeyPrefix(int key) {
  if (key == kEscKey) return "ESC:";
  return "F" + std::to_string(key) + ":";
}

std::string FunctionKeyCaption(int key, std::string_view label) {
  return FunctionKeyPrefix(key) + std::string(label);
}

bool IsFunctionKeyActive(std::string_view caption, int key) {
  return !caption.empty() && caption != FunctionKeyPrefix(key);
}

int FunctionKeyOfVk(Word vk) {
  if (vk == VK_ESCAPE) return kEscKey;
  if (vk >= VK_F1 && vk <= VK_F12) return vk - VK_F1 + 1;
  return -1;
}

void FunctionKeyBar::Bind(int key, QAbstractButton* button) {
  if (key < 0 || key > 12) return;
  buttons_[static_cast<std::size_t>(key)] = button;
}

QAbstractButton* FunctionKeyBar::Button(int key) const {
  return key < 0 || key > 12 ? nullptr : buttons_[static_cast<std::size_t>(key)];
}

void FunctionKeyBar::SetLabel(int key, std::string_view label) {
  if (QAbstractButton* b = Button(key)) b->setText(QString::fromStdString(FunctionKeyCaption(key, label)));
}

std::string FunctionKeyBar::Caption(int key) const {
  const QAbstractButton* b = Button(key);
  return b ? b->text().toStdString() : std::string();
}

bool FunctionKeyBar::IsActive(int key) const { return IsFunctionKeyActive(Caption(key), key); }

bool FunctionKeyBar::Press(int key) const {
  QAbstractButton* b = Button(key);
  if (!b || !b->isVisible() || !b->isEnabled() || !IsActive(key)) return false;
  b->click();
  return true;
}
