// libFuzzer target: any bytes as a teacher's problem file. A file is read or refused with a
// reason; one read plays to its end with every view on, and its link opens it again.
#include "app/form1.h"
#include "app/moment_link.h"
#include "app/problems.h"
#include "surface/virtual_host.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kansu;
    const ReadProblem read =
        readProblem(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.problem) {
        if (read.error.empty())
            __builtin_trap(); // refused without a reason
        return 0;
    }
    VirtualHost host;
    Form1 form{host};
    form.Form_Load();
    for (const ControlId box : {ControlId::Check1, ControlId::Check2, ControlId::Check3,
                                ControlId::Check4, ControlId::Check5, ControlId::Check6})
        form.click(box);
    if (!form.chooseProblem(*read.problem))
        __builtin_trap();
    form.typeText(ControlId::Combo1, " 0");
    form.click(ControlId::jidou);
    (void)form.seen(ControlId::kokuban, 1);
    (void)form.seen(ControlId::gamen, 1);
    const auto link = linkOf(momentOf(form));
    if (!link || !readLink(*link))
        __builtin_trap(); // a moment of a problem read is a link that opens
    return 0;
}
