// The registered update steps of the system database (operators, data-set
// list, system settings), one row per step unit in version order.
#include "dbupdate/steptable.h"
#include "dbupdate/systemstepprocs.h"

namespace {

const TDbUpdateStepDef kSystemSteps[] = {
    {0, 3, 1, 1, "共有サーバー機能の追加",
     "共有サーバー機能を追加します。",
     nullptr, nullptr, &ExecSystemDbUpdate031},
    {0, 3, 2, 0, "電子帳簿用ユーザーの追加",
     "電子帳簿用ユーザーを追加します。",
     nullptr, nullptr, &ExecSystemDbUpdate032},
    {0, 3, 3, 0, "経営テサリーユーザーの追加",
     "経営テサリーユーザーを追加します。",
     nullptr, nullptr, &ExecSystemDbUpdate033},
    {1, 0, 1, 0, "データリスト上のデータフォルダ名を大文字に統一",
     "データリスト上のデータフォルダ名が大文字と小文字の混在表記のため全て大文字に統一します。",
     nullptr, nullptr, &ExecSystemDbUpdate101},
    {3, 0, 0, 0, "旧バージョンデータの更新を禁止する機能を追加",
     "旧バージョンデータの更新を設定により禁止することが可能になります。",
     nullptr, nullptr, &ExecSystemDbUpdate300},
    {3, 0, 5, 0, "データ合算機能の追加",
     "データの合算処理が可能になります。",
     nullptr, nullptr, &ExecSystemDbUpdate305},
    {3, 0, 7, 0, "処理コントロールデータの改修",
     "処理レベルによる処理コントロールのデータ関連性を改修します。",
     nullptr, nullptr, &ExecSystemDbUpdate307},
    {4, 0, 0, 1, "データ選択に会社コード列を追加 他",
     "１）データ選択で会社コードをキーとした検索機能が利用可能となります。\r２）コード体系保存件数が20件へ拡張となります。",
     nullptr, nullptr, &ExecSystemDbUpdate400},
    {4, 0, 2, 1, "データ選択でデータの破損検証",
     "１）データ選択でデータの破損を検証する機能が追加されます。",
     nullptr, nullptr, &ExecSystemDbUpdate402},
    {5, 0, 0, 1, "Ｃ／Ｓ版でフォルダ毎にデータを管理する機能を追加",
     "１）Ｃ／Ｓ版でフォルダ毎にデータを管理する機能を追加する。",
     nullptr, nullptr, &ExecSystemDbUpdate500},
    {7, 0, 0, 0, "%s１５のデータ形式に変換",
     "１）%s１５のデータ形式に変換する。",
     "個別原価管理機能の追加", "１）個別原価管理機能を追加する。", &ExecSystemDbUpdate700},
    {7, 0, 4, 0, "消費税・特定課税仕入れ に対応",
     "１）特定課税仕入れの取引 に対応します。",
     nullptr, nullptr, &ExecSystemDbUpdate704},
    {8, 0, 0, 1, "マイナンバー制度に対応",
     "１）マイナンバー制度に対応しました。",
     nullptr, nullptr, &ExecSystemDbUpdate800},
    {8, 0, 2, 1, "メニューの起動管理方法を変更",
     "１）メニューの起動管理方法を変更しました。",
     nullptr, nullptr, &ExecSystemDbUpdate802},
    {9, 0, 4, 1, "仕訳帳、元帳の入力方法の管理項目を変更",
     "１）仕訳帳、元帳の入力方法の管理項目を変更しました。",
     nullptr, nullptr, &ExecSystemDbUpdate904},
    {10, 0, 4, 1, "オペレータの種類に承認者を追加",
     "１）オペレータの種類に承認者を追加しました。",
     kImprovementTitle, kImprovementDescription, &ExecSystemDbUpdate1004},
    {11, 0, 1, 1, "新元号対応 他",
     "１）新元号「令和」を追加しました。\r２）クラウドシェア機能を追加しました。",
     kImprovementTitle, kImprovementDescription, &ExecSystemDbUpdate1101},
};

static_assert(std::size(kSystemSteps) == kSystemStepCount);

}  // namespace

void RegisterSystemDbUpdateSteps(TArrayDbUpdateListRec& Steps) { RegisterDbUpdateSteps(kSystemSteps, Steps); }
