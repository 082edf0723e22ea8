#include "protocol/Transfers.h"

namespace rtw {

void ProgressView::btnCancelClick() {
    m_link.connected = false;
    m_flags.stepDone = true;
    hide();
    m_host.setMainWindowEnabled(true);
}

bool ProgressView::FormCloseQuery() const {
    return !m_link.connected;
}

} // namespace rtw
