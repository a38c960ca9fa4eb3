// TxWizard: a stack of named pages of which one is visible, turned into a
// wizard. It drives a Back and a Next button that it does not own, gives the
// Next button the finish caption on the last page, lets its owner refuse a
// step (OnNextClicking) and tells the owner after each step and at the finish
// (OnNextClick with FinalState true).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QStackedWidget>

class QAbstractButton;
class QLabel;

class TxWizard : public QStackedWidget {
  Q_OBJECT
 public:
  using TNotifyEvent = std::function<void(QObject* Sender)>;
  using TNextClickEvent = std::function<void(QObject* Sender, bool FinalState)>;
  using TNextClickingEvent = std::function<void(QObject* Sender, bool FinalState, bool& AllowChange)>;

  explicit TxWizard(QWidget* owner = nullptr);

  // Pages by name (the page widget's objectName).
  QWidget* AddPage(const std::string& Name);
  QWidget* Page(const std::string& Name) const;
  bool HasPage(const std::string& Name) const { return Page(Name) != nullptr; }
  // Removes and frees a page; nothing for an unknown name.
  void DeletePage(const std::string& Name);
  int PageCount() const { return count(); }
  int PageIndex() const { return currentIndex(); }
  void SetPageIndex(int Index);
  std::string ActivePage() const;
  void SetActivePage(const std::string& Name);

  std::string NextButtonCap = "次へ(&N) >";
  std::string NextButtonFinCap = "完了(&F)";
  std::string BackButtonCap = "< 戻る(&B)";

  QAbstractButton* NextButton() const { return next_; }
  void SetNextButton(QAbstractButton* Button);
  QAbstractButton* BackButton() const { return back_; }
  void SetBackButton(QAbstractButton* Button);
  QLabel* LblHeader() const { return header_; }
  void SetLblHeader(QLabel* Label);
  QLabel* LblInfo() const { return info_; }
  void SetLblInfo(QLabel* Label);
  const std::vector<std::string>& HeaderCaption() const { return headerCaption_; }
  void SetHeaderCaption(const std::vector<std::string>& Lines) { headerCaption_ = Lines; }
  const std::vector<std::string>& InfoCaption() const { return infoCaption_; }
  void SetInfoCaption(const std::vector<std::string>& Lines) { infoCaption_ = Lines; }

  TNotifyEvent OnBackClick;
  TNextClickEvent OnNextClick;
  TNextClickingEvent OnNextClicking;
  TNotifyEvent OnPageChanged;

  void NextButtonClick(QObject* Sender);
  void BackButtonClick(QObject* Sender);

 private:
  void ShowCaptions();
  QAbstractButton* next_ = nullptr;
  QAbstractButton* back_ = nullptr;
  QLabel* header_ = nullptr;
  QLabel* info_ = nullptr;
  std::vector<std::string> headerCaption_, infoCaption_;
};
