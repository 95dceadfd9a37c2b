#include "privileged/helpercontract.h"
#include "upgradehelper.h"

#include <KAuth/HelperSupport>
#include <string_view>

static_assert(std::string_view(TARN_HELPER_ID) == HelperContract::HelperId,
              "the build's helper id and the contract's differ");

KAUTH_HELPER_MAIN(TARN_HELPER_ID, UpgradeHelper)
