#include "editor/shell/process/clipboard_hand_over.h"

#include "platform/clipboard_keeper.h"

bool HandOverClipboardToResident(const SharedSettings* share) {
  return share && platform::HandOverClipboard(share->hwndResident);
}
