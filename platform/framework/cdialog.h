// CDialog: a modal dialog built from a template in res/, with data exchange.
#pragma once

#include "platform/framework/cwnd.h"

class CDialog;

struct CDataExchange {
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
};

class CDialog : public CWnd, private kestrin::platform::WindowHost {
  public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);

    // Creates the dialog, calls OnInitDialog and runs the modal loop until OK or cancel.
    // Returns the dialog's result, -1 when it could not be created.
    virtual std::intptr_t DoModal();
    // Adds the template's initial list entries, then copies members into the controls.
    virtual BOOL OnInitDialog();
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result);

    // Dialog keyboard navigation: Enter, Esc, Tab.
    BOOL PreTranslateMessage(MSG* pMsg) override;

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    // The close box and WM_CLOSE cancel the dialog.
    LRESULT DefWindowProc(const MSG& msg) override;

    DECLARE_MESSAGE_MAP()

  private:
    // WindowHost: how the backend reaches this dialog.
    bool PreTranslate(MSG& msg) override;
    std::intptr_t Dispatch(const MSG& msg) override { return WindowProc(msg); }

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};

class CComboBox : public CWnd {
  public:
    int GetCurSel() const;
    int SetCurSel(int index);
    int AddString(const CString& text);
};

class CStatic : public CWnd {};

// Attaches the control object to the dialog's control, once.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Exchanges the control's text with the string; an unchanged text is not rewritten.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
