// The framework the program is written against: include this one header.
#pragma once

#include "platform/framework/afxdefs.h"
#include "platform/framework/cdialog.h"
#include "platform/framework/cstring.h"
#include "platform/framework/cwinapp.h"
#include "platform/framework/cwnd.h"
#include "platform/framework/message_map.h"
