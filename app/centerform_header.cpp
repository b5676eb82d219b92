// The header's commands: bidding on and off, the volume, the alarm settings page and back.
#include "app/centerform.h"
#include "audio/device/soundeffects.h"
#include "common/settingsstore.h"
#include "common/texthelpers.h"
#include "common/usersettings.h"
#include "skin/qev2016header.h"

namespace qev {

void TCenterForm::InstallHeaderCommands() {
    m_header->OnBidModeChange = [this](TQEV2016Header*, bool bid) { BidModeChange(bid); };
    m_header->OnVolumeChange = [this](TQEV2016Header*, int level) { VolumeChange(level); };
    m_header->OnAlarmSettingClick = [this](TQEV2016Header*) {
        PlayClickSound();
        SetScreen(scAlarmSettings);
        SwitchBiddingOff();
    };
    m_header->OnAuctionClick = [this](TQEV2016Header*) {
        m_viaAuctionButton = true;
        PlayClickSound();
        SetScreen(scAuction);
        SwitchBiddingOff();
    };
    m_header->OnExitClick = [this](TQEV2016Header*) { RequestClose(); };
}

void TCenterForm::BidModeChange(bool bid) {
    const TConnectionStatus lanes = m_session->CombinedLaneStatus();
    const bool switches = (bid && lanes == icsConnectedNB) || (!bid && lanes == icsConnectedBD);
    if (!switches) {
        // Nothing changes (the lanes are connecting, or already there): the header goes on
        // showing what the lanes do, never what was merely asked for.
        m_header->SetBidMode(lanes == icsConnectedBD);
        return;
    }
    m_session->ConnectLanes(bid ? rcBD : rcNB);
    PlayClickSound();
    m_header->SetBidMode(bid);
    RefreshCountdown();
}

void TCenterForm::SwitchBiddingOff() {
    if (m_session->CombinedLaneStatus() != icsConnectedBD)
        return;
    m_session->ConnectLanes(rcNB);
    m_header->SetBidMode(false);
    RefreshCountdown();
}

void TCenterForm::VolumeChange(int level) {
    m_volume = level;
    ApplyVolume();
    m_effects->RestoreEffectsVolume(level);
    PlayClickSound();
    SaveVolume(m_services.settings->user(), level);
}

} // namespace qev
