#include "dbupdate/dbupdateform.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include "dbupdate/dbupdatebox.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// "\r" breaks the lines of a description.
QString Lines(const std::string& text) { return Q(text).replace('\r', '\n'); }

}  // namespace

TDbUpdateForm::TDbUpdateForm(TDbUpdateBox& Box, QWidget* Owner) : QDialog(Owner), box_(Box) {
  setObjectName("DbUpdateBox");
  setWindowTitle(Q(kDbUpdateCaption));
  setFixedSize(472, 520);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

  ImageRed = new QLabel(this);
  ImageGrn = new QLabel(this);
  for (QLabel* image : {ImageRed, ImageGrn}) image->setGeometry(24, 16, 33, 33);
  ImageRed->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  ImageGrn->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  lblTitle1 = new QLabel("データの更新を行います。", this);
  lblTitle1->move(72, 28);
  ListView1 = new QTreeWidget(this);
  ListView1->setObjectName("ListView1");
  ListView1->setGeometry(16, 64, 440, 249);
  ListView1->setColumnCount(3);
  ListView1->setHeaderLabels({"Ver.", "説明", "状況"});
  ListView1->setRootIsDecorated(false);
  ListView1->setFocusPolicy(Qt::NoFocus);
  ListView1->setColumnWidth(0, 60);
  ListView1->setColumnWidth(1, 290);
  RichEdit1 = new QPlainTextEdit(this);
  RichEdit1->setGeometry(15, 320, 442, 89);
  RichEdit1->setReadOnly(true);
  RichEdit1->setFocusPolicy(Qt::NoFocus);
  cboxAgree = new QCheckBox("データの更新に同意します。", this);
  cboxAgree->move(16, 419);
  lblTitle2 = new QLabel(this);
  lblTitle2->move(32, 442);
  lblTitle3 = new QLabel(this);
  lblTitle3->move(32, 458);
  for (QLabel* red : {lblTitle2, lblTitle3}) red->setStyleSheet("color: red");
  pnlProgress = new QWidget(this);
  pnlProgress->setGeometry(96, 192, 281, 57);
  pnlProgress->setAutoFillBackground(true);
  Label1 = new QLabel("データの更新中です…", pnlProgress);
  Label1->move(12, 8);
  ProgressBar1 = new QProgressBar(pnlProgress);
  ProgressBar1->setGeometry(12, 28, 257, 18);
  pnlProgress->hide();
  btnOk = new QPushButton("OK", this);
  btnOk->setObjectName("btnOk");
  btnOk->setGeometry(280, 480, 75, 26);
  btnCancel = new QPushButton("キャンセル", this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setGeometry(380, 480, 75, 26);

  connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  connect(cboxAgree, &QCheckBox::toggled, this, [this](bool on) {
    box_.AgreeChecked = on;
    box_.cboxAgreeClick();
    Refresh();
  });
  connect(ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
    if (!item || box_.Running) return;
    box_.ListView1SelectItem(ListView1->indexOfTopLevelItem(item));
    RichEdit1->setPlainText(Lines(box_.DescriptionText));
  });

  box_.Window = this;
  box_.OnChanged = [this] { Refresh(); };
  ListView1->clear();
  for (const TDbUpdateListItem& row : box_.ListItems)
    ListView1->addTopLevelItem(new QTreeWidgetItem({Q(row.Caption), Q(row.Title), Q(row.Status)}));
  if (ListView1->topLevelItemCount() > 0) ListView1->setCurrentItem(ListView1->topLevelItem(0));
  Refresh();
}

TDbUpdateForm::~TDbUpdateForm() {
  box_.Window = nullptr;
  box_.OnChanged = nullptr;
}

void TDbUpdateForm::Refresh() {
  ImageRed->setVisible(box_.ShowRedImage);
  ImageGrn->setVisible(!box_.ShowRedImage);
  lblTitle1->setText(Q(box_.Title1));
  lblTitle1->adjustSize();
  lblTitle2->setText(Q(box_.Title2));
  lblTitle2->adjustSize();
  lblTitle3->setText(Q(box_.Title3));
  lblTitle3->adjustSize();
  cboxAgree->setVisible(box_.AgreeVisible);
  btnCancel->setVisible(box_.CancelVisible);
  btnOk->setEnabled(box_.OkEnabled);
  const int rows = ListView1->topLevelItemCount();
  for (int i = 0; i < rows && i < static_cast<int>(box_.ListItems.size()); ++i) {
    const TDbUpdateListItem& row = box_.ListItems[static_cast<std::size_t>(i)];
    QTreeWidgetItem* item = ListView1->topLevelItem(i);
    item->setText(2, Q(row.Status));
    item->setIcon(2, row.StatusImage < 0 ? QIcon()
                                          : style()->standardIcon(row.StatusImage == 0 ? QStyle::SP_DialogApplyButton
                                                                                       : QStyle::SP_DialogCancelButton));
  }
  if (box_.SelectedItem >= 0) RichEdit1->setPlainText(Lines(box_.DescriptionText));
  ProgressBar1->setRange(0, box_.ProgressMax);
  ProgressBar1->setValue(box_.ProgressPosition);
  pnlProgress->setVisible(box_.ProgressVisible);
  if (box_.ProgressVisible) pnlProgress->raise();
  repaint();
}

void TDbUpdateForm::btnOkClick() {
  if (box_.Running) return;
  box_.btnOkClick();
  done(box_.ModalResult);
}

void TDbUpdateForm::btnCancelClick() {
  if (box_.Running) return;
  box_.btnCancelClick();
  done(box_.ModalResult);
}

void TDbUpdateForm::reject() {
  // Escape and the window's close act as Cancel.
  btnCancelClick();
}

void TDbUpdateForm::keyReleaseEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_F12 && btnOk->isEnabled()) {
    btnOkClick();
    Event->accept();
    return;
  }
  QDialog::keyReleaseEvent(Event);
}
