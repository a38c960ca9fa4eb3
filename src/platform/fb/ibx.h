// The database components in one include.
#pragma once

#include "platform/fb/ibdatabase.h"
#include "platform/fb/iberror.h"
#include "platform/fb/ibservices.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/ibstoredproc.h"
#include "platform/fb/ibstrings.h"
#include "platform/fb/ibvalue.h"
