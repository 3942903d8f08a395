// A whole lesson played on the core alone, with every view on: forward to the end, back to the
// start, automatic play to the end. Prints the state and a digest of each picture, so that builds
// for other machines can be compared with this one.
#include "app/form1.h"
#include "app/state_json.h"
#include "surface/virtual_host.h"

#include <cstdint>
#include <cstdio>

namespace {

std::uint64_t digest(const kansu::Image& image) {
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            hash ^= image.pixel(x, y);
            hash *= 1099511628211ull;
        }
    return hash;
}

} // namespace

int main() {
    using enum kansu::ControlId;
    kansu::VirtualHost host;
    kansu::Form1 form(host);
    form.Form_Load();
    for (kansu::ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
        form.click(id);
    for (int i = 0; i < 80; ++i)
        form.click(susumu);
    for (int i = 0; i < 80; ++i)
        form.click(modoru);
    form.typeText(Combo1, " 0");
    form.click(jidou);

    std::printf("%s", kansu::stateJson(form, {}).c_str());
    std::printf("michinori %g\n", form.vars().michinori);
    for (kansu::ControlId box : {kokuban, gamen, hyo})
        std::printf("%s %016llx\n", form.control(box).name.c_str(),
                    static_cast<unsigned long long>(digest(form.box(box).image())));
    return form.vars().michinori == 320 ? 0 : 1;
}
