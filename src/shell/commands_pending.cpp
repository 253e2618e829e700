// Commands whose modules have not arrived yet: each names itself in a plain information box.
#include "shell/commands_pending.h"

#include "lib/msg.h"
#include "lib/prompter.h"

namespace {
void NotAvailable(const char* what) {
    ShowLines(ui::BtnOk | ui::IconInformation, "SetUp",
              {std::string(what), "is not available in this version yet."});
}
} // namespace

void ShowConvWindow() {
    NotAvailable("The converter window");
}
