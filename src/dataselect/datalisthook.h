// The data module brings a data set's row of the data-set list up to date
// when it leaves the data set; this installs the list's side of that hook.
#pragma once

// Sets DataSetHooks.UpdateDataListRow (dbaccess/datasethooks.h).
void InstallDataListHook();
