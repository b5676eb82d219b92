#pragma once

#include "skin/qev2016jpanel.h"

#include <functional>

class QLineEdit;

namespace qev {

class TQEV2016GResPanel;
class TResButton;

// The login screen's controls on the "LOGIN" background: ID and password edits, the
// save-credentials box, the one-lane and two-lane buttons, the close button, the place of the
// notice page and the cover shown while the program starts. The window runs the login itself.
class TLoginPanel : public TQEV2016JPanel {
    Q_OBJECT
public:
    static constexpr int kOneLaneTag = 1;
    static constexpr int kTwoLaneTag = 2;

    explicit TLoginPanel(QWidget* parent = nullptr);

    std::function<void(TLoginPanel&, int laneModeTag)> OnLogin;
    std::function<void(TLoginPanel&)> OnClose;
    // The box was pressed (the window plays its click sound).
    std::function<void(TLoginPanel&)> OnBoxPressed;

    // Places the notice page's widget (owned by the caller's web pane).
    void PlaceNotice(QWidget* notice);
    // The start-up cover over the login controls.
    void ShowCover(bool on);
    bool CoverShown() const;
    // Busy while a login runs: every control disabled.
    void SetControlsEnabled(bool on);

    bool Ticked() const { return m_ticked; }
    void SetTicked(bool ticked);
    // Both lane buttons follow: enabled exactly when both fields hold text.
    void ApplyEnablingRule();

    QLineEdit& EdtLoginID() { return *m_id; }
    QLineEdit& EdtLoginPassword() { return *m_password; }
    TResButton& BtnLogin4OneLaneMode() { return *m_oneLane; }
    TResButton& BtnLogin4TwoLaneMode() { return *m_twoLane; }
    TResButton& BtnLoginClose() { return *m_close; }
    TQEV2016GResPanel& PnlLoginRegisterIDPW() { return *m_box; }
    QWidget& LblLoginRegisterIDPW() { return *m_boxLabel; }
    QWidget& PnlLoginMekakushi() { return *m_cover; }
    QWidget* Notice() const { return m_notice; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* MakeEdit(int left, int top, bool password);
    TResButton* MakeButton(const char* strip, int left, int width, int tag);
    void PressBox();

    QLineEdit* m_id;
    QLineEdit* m_password;
    TQEV2016GResPanel* m_box;
    QWidget* m_boxLabel;
    TResButton* m_oneLane;
    TResButton* m_twoLane;
    TResButton* m_close;
    QWidget* m_cover;
    QWidget* m_notice = nullptr;
    bool m_ticked = false;
    bool m_busy = false;
};

} // namespace qev
