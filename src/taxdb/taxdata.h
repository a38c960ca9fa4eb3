// The data set a run of the computation reads: its database with its two
// transactions, the ordinary one (read committed) and the snapshot one used
// by the journal aggregation. The data module offers the connected data set's
// (ConnectedTaxData, dbaccess/datasetconnection.h); whoever runs the readers
// hands it to them. Members are null when no data set is connected.
#pragma once

class TIBDatabase;
class TIBTransaction;

struct TTaxDataConnection {
  TIBDatabase* Database = nullptr;
  TIBTransaction* Transaction = nullptr;          // IBTransactionDAT
  TIBTransaction* SnapshotTransaction = nullptr;  // IBTransactionDATSS
};
