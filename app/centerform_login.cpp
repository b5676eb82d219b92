// The login: sign in, wait for the session and the lanes, the outcome messages.
#include "app/centerform.h"
#include "app/credentialstore.h"
#include "app/loginpanel.h"
#include "app/messagedialogs.h"
#include "app/web/webpane.h"
#include "common/clock.h"
#include "common/pumpwait.h"
#include "common/settingsstore.h"
#include "session/codec/linecodec.h"

#include <QApplication>
#include <QLineEdit>
#include <QStringEncoder>

namespace qev {

namespace {
constexpr int kLaneWaitSeconds = 15;
constexpr int kWrongPasswordsToQuit = 3;

QByteArray Sjis(const QString& text) {
    QStringEncoder encode("windows-31j");
    return encode(text);
}
} // namespace

void TCenterForm::Login(int laneModeTag) {
    PlayClickSound();
    if (m_loginBusy)
        return;
    if (m_session->State() != ssOffline) {
        ShowMessageDialog(this, QStringLiteral("しばらくお待ちください"), DialogKind::Information,
                          DialogSound::Exclamation);
        if (m_session->State() == ssInSession)
            ClearSession();
        return;
    }
    m_loginBusy = true;
    m_login->SetControlsEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_laneMode = laneModeTag == 2 ? lmTwoLane : lmOneLane;
    m_userId = m_login->EdtLoginID().text().trimmed();
    for (LaneSession& l : m_lanes)
        if (l.fetch)
            l.fetch->CancelAll();
    m_session->SetMemberNumber(Sjis(m_userId));
    bool failed = false;
    const QByteArray id = LineCipher(Sjis(m_userId));
    const QByteArray password = LineCipher(Sjis(m_login->EdtLoginPassword().text()));
    m_session->SignIn(Sjis(m_config.signInServer), id, password);
    PumpWait(
        [this] { return m_closing || m_session->State() == ssOffline || m_session->State() == ssInSession; });
    if (!m_closing) {
        if (m_session->State() != ssInSession) {
            ShowSignInOutcome(m_session->LastNoticeCode());
            failed = true;
        }
        if (failed) {
            ClearSession();
        } else {
            if (m_session->MemberClass() == "z") {
                QApplication::restoreOverrideCursor();
                ShowMessageDialog(this, QStringLiteral("Unable to BID"), DialogKind::Information,
                                  DialogSound::Exclamation);
                QApplication::setOverrideCursor(Qt::WaitCursor);
            }
            const QByteArray site = m_session->FirstSiteName();
            if (site.isEmpty()) {
                failed = true;
            } else {
                const qint64 deadline = Clock::current().nowMs() + kLaneWaitSeconds * 1000;
                m_session->SelectSite(site);
                m_laneCount = m_session->CurrentSite().LaneCount();
                ShowLaneMessage(mtNone, -1);
                ResetLanes();
                m_session->ConnectLanes(rcNB);
                const auto settled = [this] {
                    const TConnectionStatus s = m_session->CombinedLaneStatus();
                    return s == nsNone || s == nsDisconnected || s == icsConnectedNB;
                };
                bool timedOut = false;
                PumpWait([&] {
                    if (m_closing || settled())
                        return true;
                    timedOut = Clock::current().nowMs() > deadline;
                    return timedOut;
                });
                if (!m_closing && timedOut) {
                    failed = true;
                    ShowMessageDialog(this, QStringLiteral("大変混雑しております\rしばらくお待ちください"),
                                      DialogKind::Information, DialogSound::Exclamation);
                } else if (!m_closing && m_session->CombinedLaneStatus() != icsConnectedNB && !m_quietClose) {
                    ShowSignInOutcome(m_session->LastNoticeCode());
                    failed = true;
                }
            }
            if (m_closing) {
                // Leave at once; the close takes the session down.
            } else if (failed) {
                ClearSession();
            } else {
                FinishLogin();
            }
        }
    }
    QApplication::restoreOverrideCursor();
    m_loginBusy = false;
    m_login->SetControlsEnabled(true);
    m_login->EdtLoginPassword().setFocus();
}

void TCenterForm::FinishLogin() {
    if (m_alarmBrowser)
        m_alarmBrowser->Navigate(QUrl(m_config.AlarmUrlFor(m_userId)), kNavigateFresh);
    SaveCredentials(m_services.settings->user(),
                    {m_login->Ticked(), m_login->EdtLoginID().text(), m_login->EdtLoginPassword().text()});
    m_oneLaneShowsA = true;
    SetScreen(scAuction);
}

void TCenterForm::ShowSignInOutcome(int code) {
    QApplication::restoreOverrideCursor();
    QLineEdit& password = m_login->EdtLoginPassword();
    switch (code) {
    case 101:
    case 107:
        ++m_failedLogins;
        password.clear();
        if (m_failedLogins >= kWrongPasswordsToQuit) {
            ShowMessageDialog(this, QStringLiteral("ID/パスワードが間違っています\r終了します"),
                              DialogKind::Error, DialogSound::Error);
            m_quietClose = true;
            PostQuietClose();
        } else {
            ShowMessageDialog(this, QStringLiteral("ID/パスワードが間違っています"), DialogKind::Information,
                              DialogSound::Exclamation);
        }
        break;
    case 102:
        ShowMessageDialog(this, QStringLiteral("現在リアルオークションは御利用いただけません"),
                          DialogKind::Error, DialogSound::Error);
        m_quietClose = true;
        PostQuietClose();
        break;
    case 103:
        if (m_session->RefusalText().isEmpty())
            ShowMessageDialog(this, QStringLiteral("オークション開始までお待ちください"),
                              DialogKind::Information, DialogSound::Exclamation);
        break;
    case 111:
        ShowMessageDialog(this, QStringLiteral("利用制限がかかっております\rQEVまでお問い合わせください"),
                          DialogKind::Error, DialogSound::Error);
        break;
    case 112:
        ShowMessageDialog(this, QStringLiteral("退会手続き済みです"), DialogKind::Error, DialogSound::Error);
        m_quietClose = true;
        PostQuietClose();
        break;
    default:
        ShowMessageDialog(this, QStringLiteral("現在ログインできません"), DialogKind::Information,
                          DialogSound::Exclamation);
        break;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

} // namespace qev
