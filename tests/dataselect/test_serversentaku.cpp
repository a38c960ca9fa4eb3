// The shared-server selection dialog against a real installation, with a
// second folder standing for a mounted share (mapped to the letter "S" in
// the connection settings) and the windows offscreen; and the data-selection
// dialog's fetch of a shared data set into its empty local row through it.
#include "serverboxtest.h"

using namespace serverboxtest;
using dstest::DataSets;

TEST_F(ServerBoxTest, ListsTheAreasOfTheShareAndTogglesTheSort) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}, {"sv0002", "B200", "ベータ", 2, 0}, {"sv0003", nullptr, "", 1, 0}});
  auto box = Open();
  TPerfectGrid* g = box->PerfectGrid1;
  EXPECT_EQ(box->cmbDrive->currentText().toStdString(), "S: [" + mount_ + "]");
  ASSERT_EQ(Column(*box, scFolder), (std::vector<std::string>{Area("sv0001"), Area("sv0002"), Area("sv0003")}))
      << "an empty list is rebuilt from the folders, by folder ascending";
  EXPECT_EQ(Column(*box, scNo), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(*box, scName), (std::vector<std::string>{"アルファ", "ベータ", "空き領域"}));
  EXPECT_EQ(Column(*box, scNendo), (std::vector<std::string>{"3 期", "3 期", ""}));
  EXPECT_EQ(g->CellText(1, scKikan), "2019/04/01 ～ 2020/03/31");
  EXPECT_EQ(g->CellText(3, scKikan), "～");
  EXPECT_EQ(g->CellText(1, scCode), "A100");
  EXPECT_EQ(g->CellText(1, scVersion), "11.1.0");
  EXPECT_EQ(g->CellNumber(2, scShared), 1) << "an area in use elsewhere";
  EXPECT_EQ(g->CellNumber(1, scShared), 0);
  EXPECT_EQ(g->ColumnHeader(scFolder), "データフォルダ▲");
  EXPECT_EQ(g->ColumnWidth(scName), 280 - 40 - 32);
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM SERVERDATALIST WHERE DRIVELETTER='S'"), "3");
  EXPECT_EQ(box->FKeys[4]->text().toStdString(), "F4:領域追加");

  struct Click {
    int col;
    const char* header;      // of the clicked column afterwards ("" when the click does nothing)
    const char* firstFolder;
  } clicks[] = {
      {scFolder, "データフォルダ▼", "sv0003"}, {scFolder, "データフォルダ▲", "sv0001"},
      {scCloud, "", "sv0001"},                {scSharePic, "", "sv0001"},
      {scName, "データ名▲", "sv0001"},         {scName, "データ名▼", "sv0002"},
  };
  for (const Click& c : clicks) {
    const std::vector<std::string> before = Column(*box, scFolder);
    box->PerfectGrid1CellClick(0, c.col);
    if (*c.header) {
      EXPECT_EQ(g->ColumnHeader(c.col), c.header) << c.col;
    } else {
      EXPECT_EQ(Column(*box, scFolder), before) << "column " << c.col << " does not sort";
      EXPECT_EQ(box->SortCol == c.col, false);
    }
    EXPECT_EQ(g->CellText(1, scFolder), Area(c.firstFolder)) << c.col << " " << c.header;
  }
  // The sort is stored for the operator's shared-server list when the dialog closes.
  box->ESCClick();
  EXPECT_EQ(box->result(), mrCancel);
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(QueryDef("SELECT SORTCOL||'/'||SORTTYPE FROM KENSAKUJYOKEN WHERE OPCODE=10010 AND LISTTYPE=1"), "1/1");
}

TEST_F(ServerBoxTest, WithoutAMappedShareTheListStaysEmpty) {
  // A drive is mapped, but its mount point holds no shared folder.
  fs::create_directories(root_ + "/other");
  {
    TIniFile ini(ConnectIniFile());
    ini.EraseSection(kSecShareDrives);
  }
  WriteShareDrive("T", root_ + "/other");
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}});
  auto box = Open();
  ASSERT_EQ(box->cmbDrive->count(), 1);
  EXPECT_EQ(box->cmbDrive->currentText().toStdString(), "[corvexzaimu]が見つかりません");
  EXPECT_EQ(box->PerfectGrid1->Rows(), 0);
  EXPECT_TRUE(box->ShareRoot.empty());
  EXPECT_TRUE(box->DriveLetter.empty());
  EXPECT_EQ(box->FKeys[4]->text().toStdString(), "F4:");
  EXPECT_EQ(GetLongHint(GetHint(box->PerfectGrid1)), "[共有割当]ボタンよりネットワーク上の共有フォルダをドライブに割り当てて下さい。");
  box->F12Click();
  box->FKeyClick(4);
  EXPECT_TRUE(BoxTexts().empty()) << "blank keys do nothing";
  EXPECT_TRUE(box->isVisible());
}

TEST_F(ServerBoxTest, IncrementalSearchFindsTheNextCodeAndWraps) {
  MakeAreas({{"sv0001", "1200", "一", 1, 0}, {"sv0002", "A120", "二", 1, 0}, {"sv0003", "1234", "三", 1, 0}});
  auto box = Open();
  ASSERT_EQ(box->PerfectGrid1->Rows(), 3);
  auto type = [&box](std::initializer_list<Word> keys) {
    for (Word key : keys) {
      Word k = key;
      box->PerfectGrid1KeyDown(k, Qt::NoModifier);
      EXPECT_EQ(k, 0) << "the key is swallowed";
    }
  };
  box->PerfectGrid1->SetRow(2);
  type({'1', '2'});
  EXPECT_EQ(box->IncSerchTimer->interval(), 1000);
  EXPECT_EQ(box->txtIncSerch->text().toStdString(), "12");
  EXPECT_TRUE(box->txtIncSerch->isVisible());
  box->IncSerchTimerTimer();
  EXPECT_EQ(box->PerfectGrid1->Row(), 3) << "the first row after the current one";
  EXPECT_FALSE(box->txtIncSerch->isVisible());
  EXPECT_EQ(box->IncSerchTimer->interval(), 0);
  type({97, 98});  // the numeric keypad's 1 and 2
  box->IncSerchTimerTimer();
  EXPECT_EQ(box->PerfectGrid1->Row(), 1) << "wrapping to the top";
  type({'1', '2', '3', '4', '5', '6', '7', '8', '9'});
  EXPECT_EQ(box->txtIncSerch->text().toStdString(), "12345678") << "more than 8 characters are ignored";
  box->IncSerchTimerTimer();
}

TEST_F(ServerBoxTest, SelectionRefusesChildRowsAndAreasBeingFilled) {
  MakeAreas({{"sv0001", "G100", "合算親", 1, 1},
             {"sv0001/001", "G101", "子一", 1, 0},
             {"sv0002", nullptr, "", 2, 0},
             {"sv0003", "C300", "普通", 1, 0}});
  auto box = Open();
  TPerfectGrid* g = box->PerfectGrid1;
  ASSERT_EQ(Column(*box, scFolder),
            (std::vector<std::string>{Area("sv0001"), Area("sv0001/001"), Area("sv0002"), Area("sv0003")}));
  EXPECT_EQ(g->CellText(2, scNo), "");
  EXPECT_EQ(g->CellText(2, scName), "01 子一");
  EXPECT_EQ(g->CellText(3, scNo), "2") << "running numbers count parent rows";
  // A child row: F12 is blank and does nothing.
  g->SetRow(2);
  box->UpdateKeyBar();
  EXPECT_EQ(box->F12->text().toStdString(), "F12:");
  EXPECT_FALSE(box->F12->isEnabled());
  box->F12Click();
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(BoxTexts().empty());
  // An empty area that another operator is filling.
  g->SetRow(3);
  box->UpdateKeyBar();
  EXPECT_EQ(g->CellText(3, scName), "空き領域");
  EXPECT_EQ(box->FKeys[2]->text().toStdString(), "F2:") << "an empty area cannot be copied";
  box->F12Click();
  EXPECT_TRUE(BoxShown("この領域は、現在データが作成されている可能性があるため選択できません。"));
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->SelectedFolder.empty());
  // A removed area folder is told, not chosen.
  fs::remove_all(Area("sv0003"));
  g->SetRow(4);
  box->UpdateKeyBar();
  box->F12Click();
  EXPECT_TRUE(BoxShown("共有サーバー上のデータ領域が削除された可能性があります。"));
  EXPECT_TRUE(box->isVisible());
  // The combined parent is chosen.
  g->SetRow(1);
  box->UpdateKeyBar();
  box->F12Click();
  EXPECT_EQ(box->result(), mrOk);
  EXPECT_EQ(box->SelectedFolder, Area("sv0001"));
  EXPECT_EQ(box->SelectedEntText, "合算親");
}

TEST_F(ServerBoxTest, CombinedParentWithADamagedChildIsRefused) {
  MakeAreas({{"sv0001", "G100", "合算親", 1, 1}, {"sv0001/001", "G101", "子一", 1, 0}});
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(Area("sv0001/001")), info);
  info.STATUS = dsDamaged;
  WriteDataInfoFile(DataInfoFileName(Area("sv0001/001")), "", info);
  auto box = Open();
  ASSERT_EQ(box->PerfectGrid1->Rows(), 2);
  EXPECT_EQ(box->PerfectGrid1->RowTextColor(2), static_cast<TColor>(255)) << "a damaged row is red";
  box->PerfectGrid1->SetRow(1);
  box->UpdateKeyBar();
  box->F12Click();
  ASSERT_FALSE(responder_.Shown().empty());
  EXPECT_EQ(responder_.Shown().back().caption, "選択データの状態");
  EXPECT_TRUE(BoxShown("共有サーバー上のデータが破損しているため、共有データの取得を中止します。"));
  EXPECT_TRUE(BoxShown(Area("sv0001/001")));
  EXPECT_TRUE(box->isVisible());
}

TEST_F(ServerBoxTest, AutoUpdateOffKeepsTheLoadedListOnTheNextShowing) {
  MakeAreas({{"sv0001", "A100", "旧名", 1, 0}});
  auto box = Open();
  ASSERT_EQ(box->PerfectGrid1->CellText(1, scName), "旧名");
  box->ESCClick();
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(Area("sv0001")), info);
  info.DATALISTNAME = "新名";
  WriteDataInfoFile(DataInfoFileName(Area("sv0001")), "", info);
  box->PrepareSelection(1);
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scName), "旧名") << "the folders are not re-read";
  EXPECT_FALSE(box->cboxDataListUpdate->isChecked());
  box->cboxDataListUpdate->click();
  EXPECT_EQ(SystemDef.ServerListUpdate, 1);
  box->PrepareSelection(1);
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scName), "新名") << "with auto-update the folders are re-read";
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM SERVERDATALIST WHERE DRIVELETTER='S'"), "新名");
}

TEST_F(ServerBoxTest, ListUpdateDropsTheSearchAndRereadsTheFolders) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}});
  auto box = Open();
  MakeAreas({{"sv0002", "B200", "ベータ", 1, 0}});
  responder_.Then(mrNo);
  box->btnListUpdateClick();
  EXPECT_TRUE(BoxShown("データリストの更新を行います。"));
  EXPECT_EQ(box->PerfectGrid1->Rows(), 1) << "No leaves the list";
  responder_.Then(mrYes);
  box->btnListUpdateClick();
  EXPECT_EQ(Column(*box, scCode), (std::vector<std::string>{"A100", "B200"}));
}

TEST_F(ServerBoxTest, ChangingTheDriveListsTheOtherShare) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}});
  const std::string second = root_ + "/net2";
  fs::create_directories(second + "/corvexzaimu/sv0001");
  WriteShareDrive("U", second);
  auto box = Open();
  ASSERT_EQ(box->cmbDrive->count(), 2);
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scFolder), Area("sv0001"));
  box->cmbDrive->setCurrentIndex(1);
  box->cmbDriveChange();
  EXPECT_EQ(box->DriveLetter, "U");
  EXPECT_EQ(box->ShareRoot, second + "/corvexzaimu");
  ASSERT_EQ(box->PerfectGrid1->Rows(), 1);
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scFolder), second + "/corvexzaimu/sv0001");
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scName), "空き領域");
  // The new area of F4 goes to the chosen share; cancelled, it adds nothing.
  box->PerfectGrid1->SetRow(1);
  box->UpdateKeyBar();
  responder_.Then(mrCancel);
  box->FKeyClick(4);
  ASSERT_FALSE(responder_.Shown().empty());
  EXPECT_EQ(responder_.Shown().back().caption, "データの領域追加");
  EXPECT_EQ(box->PerfectGrid1->Rows(), 1);
}

TEST_F(ServerBoxTest, MappingADriveListsItsShare) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}});
  {
    TIniFile ini(ConnectIniFile());
    ini.EraseSection(kSecShareDrives);
  }
  auto box = Open();
  ASSERT_TRUE(box->ShareRoot.empty());
  const TCoreUiServices saved = CoreUi;
  std::string chosen;
  CoreUi.BrowseFolder = [&chosen](const std::string&, const std::string&, const std::string&) {
    return std::optional<std::string>(chosen);
  };
  auto pickLetter = [](const ShownDialog& shown) {
    auto* ask = dynamic_cast<TInputDlgBox*>(shown.window);
    if (!ask) return mrCancel;
    ask->cmbInput()->setCurrentIndex(ask->cmbInput()->findText("U:"));
    ask->btnOKClick();
    return ask->result();
  };
  // A folder that is not there cannot be mapped.
  chosen = root_ + "/nowhere";
  responder_.Then(pickLetter);
  box->btnMountClick();
  EXPECT_TRUE(BoxShown("ネットワークドライブの割り当てAPIの呼び出しに失敗しました。"));
  EXPECT_TRUE(ReadShareDrives().empty());
  chosen = mount_;
  responder_.Then(pickLetter);
  box->btnMountClick();
  CoreUi = saved;
  ASSERT_EQ(ReadShareDrives().size(), 1u);
  EXPECT_EQ(ReadShareDrives()[0].Letter, "U");
  EXPECT_EQ(box->DriveLetter, "U");
  ASSERT_EQ(box->PerfectGrid1->Rows(), 1);
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scName), "アルファ");
}

TEST_F(ServerBoxTest, DetailsClearALeftOverStatusAndRenameTheArea) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}});
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(Area("sv0001")), info);
  info.STATUS = dsInUse;
  info.OPCODE = 10010;
  WriteDataInfoFile(DataInfoFileName(Area("sv0001")), "", info);
  auto box = Open();
  ASSERT_EQ(box->PerfectGrid1->Rows(), 1);
  box->PerfectGrid1->SetRow(1);
  bool clearShown = false;
  responder_.Then([&clearShown](const ShownDialog& shown) {
    auto* details = dynamic_cast<TDataSyosaiInfoBox*>(shown.window);
    if (!details) return mrCancel;
    clearShown = details->ClearShown;
    details->cboxStatusClear->setChecked(true);
    details->txtListName->setText("アルファ改");
    details->btnOKClick();
    return details->result();
  });
  box->btnDataInfoClick();
  EXPECT_TRUE(clearShown) << "the operator's own left-over status can be cleared";
  ReadDataInfoFile(DataInfoFileName(Area("sv0001")), info);
  EXPECT_EQ(info.STATUS, dsFree);
  EXPECT_EQ(info.DATALISTNAME, "アルファ改");
  EXPECT_EQ(box->PerfectGrid1->CellText(1, scName), "アルファ改");
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM SERVERDATALIST WHERE DRIVELETTER='S'"), "アルファ改");
}

// ---- the data-selection dialog's fetch into an empty local row -------------------------------------

TEST_F(ServerBoxTest, FetchIntoAnEmptyLocalRowTakesTheChosenArea) {
  MakeArea({"sv0001", "A100", "共有アルファ", 1, 0}, true);
  ASSERT_EQ(QueryDef("SELECT ENTTEXT FROM DATALIST WHERE REC=3"), "");
  auto box = std::make_unique<TDataSentakuBox>();
  box->KeepOnClose = true;
  box->SetParams({"SyoriType=0"});
  box->KeepOnClose = true;
  box->PrepareMode();
  box->show();
  QApplication::setActiveWindow(box.get());
  box->PerfectGrid1->setFocus();
  QApplication::processEvents();
  int row = 0;
  for (int r = 1; r <= box->PerfectGrid1->Rows() && row == 0; ++r)
    if (box->PerfectGrid1->RowValue(r) == 3) row = r;
  ASSERT_GT(row, 0);
  box->PerfectGrid1->SetRow(row);
  box->UpdateKeyBar();
  SystemDef.ZenkaiDrive = " S ";
  std::string shownDrive;
  responder_.Then([&](const ShownDialog& shown) {
    auto* server = dynamic_cast<TServerSentakuBox*>(shown.window);
    if (!server) return mrCancel;
    shownDrive = server->DriveLetter;
    server->PerfectGrid1->SetRow(RowOfFolder(*server, Area("sv0001")));
    server->UpdateKeyBar();
    server->F12Click();
    return server->result();
  });
  box->btnKyoyuDataDownClick();
  EXPECT_EQ(shownDrive, "S") << "the last drive, trimmed";
  EXPECT_EQ(QueryDef("SELECT NETDRIVE||'/'||KYOYULOCK||'/'||PASNAME FROM DATALIST WHERE REC=3"),
            "1/1/" + Area("sv0001"));
  EXPECT_EQ(SystemDef.ZenkaiDrive, "S");
  EXPECT_TRUE(fs::exists(sysDir_ + "/0003/rqacc.fdb"));
  TDataInfomationRec info;
  ReadDataInfoFile(DataInfoFileName(Area("sv0001")), info);
  EXPECT_EQ(info.SHARE_STATUS, ssTakenOut);
  EXPECT_EQ(box->PerfectGrid1->CellText(box->PerfectGrid1->Row(), dcName), "共有アルファ");
  EXPECT_TRUE(box->isVisible());
  // A rename of the taken row reaches the area's own list row and settings.
  const double index = box->PerfectGrid1->CellNumber(box->PerfectGrid1->Row(), dcIndex);
  TDataListRec renamed = box->DataList[static_cast<std::size_t>(index)].Row;
  ASSERT_EQ(renamed.KyoyuLock, 1);
  renamed.EntText = renamed.DispName = "共有アルファ改";
  box->UpdateServerBoxRow(renamed);
  ReadDataInfoFile(DataInfoFileName(Area("sv0001")), info);
  EXPECT_EQ(info.DATALISTNAME, "共有アルファ改");
  EXPECT_EQ(QueryDef("SELECT ENTTEXT FROM SERVERDATALIST WHERE DRIVELETTER='S' AND PASNAME='" + Area("sv0001") + "'"),
            "共有アルファ改");
}

// F8 prints the shared list after the list print dialog, numbered in display
// order; a list without rows only says so.
TEST_F(ServerBoxTest, F8PrintsTheSharedList) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}, {"sv0002", "B200", "ベータ", 1, 0}});
  auto box = Open();
  ASSERT_EQ(box->DispList.size(), 2u);
  StartQuillboxEngine();
  const std::string pdf = root_ + "/shared.pdf";
  QuillboxEngine().Vdb->SetOutputFile(pdf);
  responder_.Clear();
  responder_.Then([](const ShownDialog& shown) {
    EXPECT_EQ(shown.caption, "共有データリストの印刷");
    shown.window->findChild<QPushButton*>("btnOK")->click();
    return mrOk;
  });
  QTest::keyClick(box->PerfectGrid1, Qt::Key_F8);
  QuillboxEngine().Vdb->SetOutputFile("");
  ASSERT_TRUE(fs::exists(pdf));
  QProcess p;
  p.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
  p.waitForFinished(30000);
  const std::string text = QString::fromUtf8(p.readAllStandardOutput()).toStdString();
  EXPECT_NE(text.find("共有データリスト"), std::string::npos) << text;
  // pdftotext lays the page number out by its position: the run of spaces may vary.
  EXPECT_TRUE(std::regex_search(text, std::regex(R"(PAGE +1\b)"))) << text;
  EXPECT_NE(text.find("アルファ"), std::string::npos);
  EXPECT_NE(text.find("ベータ"), std::string::npos);

  box->DispList.clear();
  responder_.Clear();
  QTest::keyClick(box->PerfectGrid1, Qt::Key_F8);
  EXPECT_TRUE(BoxShown("共有データリストが表示されていません。"));
}
