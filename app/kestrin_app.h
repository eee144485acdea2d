// CKestrinApp: the application object. Its whole life is one modal run of the main window.
#pragma once

#include "platform/framework/afxwin.h"

class CKestrinApp : public CWinApp {
  public:
    BOOL InitInstance() override;
};

extern CKestrinApp theApp;
