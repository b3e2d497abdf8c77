#include "application.h"
#include "first_paint_reporter.h"

// The editor as main() starts it, ending once its window has been painted.
int main(int argc, char* argv[])
{
    return zarn::qt::runZarn(argc, argv, [](QWidget& window) { new FirstPaintReporter(&window); });
}
