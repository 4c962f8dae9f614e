// The views factory: the map view, the scope view and the settings grid, built once by the main window.
// The widgets library is static, so the factory names the real classes directly (a self-registering
// factory would be dropped by the linker); tests may replace an entry before the window is created.
#include "app/TWidoki.h"
#include "charts/TGrafika.h"
#include "scope/TScope.h"
#include "settings/ui/TNastawy.h"

TFabrykaWidokow &FabrykaWidokow() {
    static TFabrykaWidokow f{
        [](QWidget *parent, TSterownik *link) -> TWidokMapy * { return new TGrafika(parent, link); },
        [](QWidget *parent, TSterownik *link) -> TWidokScope * { return new TScope(parent, link); },
        [](QWidget *parent, TSterownik *link, TKatalogNastaw *catalogue) -> TWidokNastaw * {
            return new TNastawy(parent, link, catalogue);
        },
    };
    return f;
}
