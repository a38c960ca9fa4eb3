// An in-memory stand-in for the data module's window-size and history tables.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/formstore.h"

struct MemoryFormStore : TFormDataStore {
  std::map<std::pair<int, std::string>, TFormSizeRow> sizes;
  std::vector<std::string> calls;  // "insert", "update", "opinf_delete:<state>", "opinf_insert"
  bool failSizes = false;
  bool failHistory = false;

  std::optional<TFormSizeRow> ReadFormSize(int op, const std::string& name) override {
    if (failSizes) throw EFormStoreError("lock conflict");
    auto it = sizes.find({op, name});
    if (it == sizes.end()) return std::nullopt;
    return it->second;
  }
  void InsertFormSize(int op, const std::string& name, const TFormSizeRow& row) override {
    calls.push_back("insert");
    sizes[{op, name}] = row;
  }
  void UpdateFormSize(int op, const std::string& name, int top, int left, int height, int width) override {
    if (failSizes) throw EFormStoreError("lock conflict");
    calls.push_back("update");
    auto& row = sizes[{op, name}];
    row.Top = top;
    row.Left = left;
    row.Height = height;
    row.Width = width;
  }
  void DeleteOperationHistory(int, const std::string& job, const std::string& state) override {
    if (failHistory) throw EFormStoreError("no table OPINF");
    calls.push_back("opinf_delete:" + job + ":" + state);
  }
  void InsertOperationHistory(int, const std::string& job, const std::string& pc, TDateTime) override {
    calls.push_back("opinf_insert:" + job + ":" + pc);
  }
};
