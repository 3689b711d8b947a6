#include "settings/TransferProgress.h"

namespace settings {

void TransferProgress::BeforeProfile(Direction, int, int, int) {}

}  // namespace settings
