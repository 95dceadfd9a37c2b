#include "privileged/helpercontract.h"
#include "stoprequests.h"
#include "upgradehelper.h"

#include <KAuth/HelperSupport>
#include <QCoreApplication>
#include <string_view>

static_assert(std::string_view(TARN_HELPER_ID) == HelperContract::HelperId,
              "the build's helper id and the contract's differ");

// KAuth's main makes the application only after the helper object; the stop object goes on the
// bus as soon as there is one, before KAuth takes the name and the first call can arrive.
static void exportStopRequests()
{
    StopRequests::exportOnSystemBus();
}
Q_COREAPP_STARTUP_FUNCTION(exportStopRequests)

KAUTH_HELPER_MAIN(TARN_HELPER_ID, UpgradeHelper)
