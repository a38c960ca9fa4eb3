// The data-set settings store: typed values of the connected data set in
// table ACCREG (short values as text) and ACCREG_BLOB_BINARY (pictures and
// memos), addressed by group and key. Reading a missing ACCREG value stores
// the caller's default. None of these reports an error: a database or
// conversion error reaches the caller after the store has rolled back a
// transaction it started itself; inside a caller's transaction IBTransactionDAT
// the store neither commits nor rolls back.
#pragma once

#include <optional>
#include <string>

#include "dbaccess/variant.h"

class TIBSQL;

// Types: "文字", "論理", "日付", "整数", "金額", "実数", "日時"; an unknown type
// reads as the text "Data Type Error" and writes a null value.
void GetAccReg(const std::string& Group, const std::string& Key, const std::string& Type,
               const std::string& Default, TVariant& Value);
void PutAccReg(const std::string& Group, const std::string& Key, const std::string& Type, const TVariant& Value);
void DeleteAccReg(const std::string& Group, const std::string& Key);

// Binary kinds: "画像" (also "BMP", "JPG"): the value is a picture file's
// path; "メモ": the value is a text of lines. Reading a picture writes it to a
// new file "accreg-<yyyymmddhhnnss>[-n].bmp|.jpg" in SystemDef.WinTempDir
// (removing it is the caller's affair); a missing row leaves Value unchanged.
void GetAccRegBlob(const std::string& Group, const std::string& Key, const std::string& Type, TVariant& Value);
void PutAccRegBlob(const std::string& Group, const std::string& Key, const std::string& Type, const TVariant& Value);

// ACCREG rows through a statement of the caller's, on its database and
// transaction (the store above runs them over the data module's data set; an
// exchange over a connection of its own). Errors pass on.
// The stored text of the row of Group and Key; nothing when there is no row.
std::optional<std::string> ReadAccRegText(TIBSQL& Statement, const std::string& Group, const std::string& Key);
// The row's text replaced (a null value for none); a missing row stays missing.
void UpdateAccRegText(TIBSQL& Statement, const std::string& Group, const std::string& Key,
                      const std::optional<std::string>& Text);

// The file name a picture read would use next in Folder (exposed for tests).
std::string NewAccRegPictureFile(const std::string& Folder, const std::string& Extension);
