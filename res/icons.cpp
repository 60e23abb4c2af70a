#include "res/icons.h"

#include "res/ids.h"

// Outside any namespace, as Qt's resource macro requires.
static void InitIconResources()
{
    // The images live in a static library: register them before first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(vocaline);
        return true;
    }();
    (void)registered;
}

namespace res {

QIcon LoadIconResource(int id)
{
    InitIconResources();
    QIcon icon;
    if (id == IDR_MAINFRAME) {
        icon.addFile(":/icons/128-32.png", QSize(32, 32));
        icon.addFile(":/icons/128-16.png", QSize(16, 16));
    } else if (id == IDI_SPEAKER) {
        icon.addFile(":/icons/131-16.png", QSize(16, 16));
    }
    return icon;
}

} // namespace res
