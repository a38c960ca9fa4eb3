// Every window of the program's road as the user sees it: a picture of each
// under <build>/screenshots, and none with a control cut, sticking out or
// overlapping another.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "apptest.h"
#include "dataselect/datasentaku.h"
#include "link/mainwindow.h"
#include "link/wizard.h"
#include "platform/vcl/dpi.h"
#include "ui/layoutcheck.h"
#include "ui/plbutton.h"

namespace apptest {
namespace {

const char* const kPrinciple = "corporation, principle taxation";

class Screens : public AppTest {
 protected:
  void Look(QWidget* window, const std::string& name) {
    SCOPED_TRACE(name);
    layoutcheck::SaveShot(window, name);
    EXPECT_EQ(layoutcheck::LayoutFaults(window), std::vector<std::string>{});
  }
};

TEST_F(Screens, EveryWindowOfTheRoad) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->LoggedOn());
  Look(form.get(), "app-page1");
  ASSERT_EQ(Next(*form), "page2");
  // The data-selection dialog as the program opens it.
  responder_.Then([&](const ShownDialog& shown) {
    if (auto* box = dynamic_cast<TDataSentakuBox*>(shown.window)) {
      // At its own size, as on a screen that holds it.
      box->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      box->resize(Px(992), Px(564));
      Look(box, "app-datasentaku");
    }
    return mrCancel;
  });
  form->btnDataSentaku->click();
  AnswerDataChoice(DataSetFolder(kPrinciple));
  form->btnDataSentaku->click();
  ASSERT_TRUE(form->DataConnected());
  Look(form.get(), "app-page2");
  ASSERT_EQ(Next(*form), "page3");
  Look(form.get(), "app-page3");
  ASSERT_EQ(Next(*form), "page4");
  form->Edit4a->setText(QString::fromStdString(documentsDir_ + "/screens.xml"));
  Look(form.get(), "app-page4");
  ASSERT_EQ(Next(*form), "page5");
  Look(form.get(), "app-page5");
  // The boxes of the end, each with its picture.
  responder_.Then([&](const ShownDialog& shown) {
    Look(shown.window, "app-done-box");
    return mrOk;
  });
  form->Button2->click();
  EXPECT_EQ(form->CloseCode(), 0);
}

}  // namespace
}  // namespace apptest
