// CAboutDlg: the About box, with the maker's link.
#pragma once

#include "platform/framework/afxwin.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();

  protected:
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

  private:
    // True when the point (client coordinates) lies strictly inside the link label.
    bool OverLink(CPoint point);
};
