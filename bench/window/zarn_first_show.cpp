#include "application.h"
#include "first_paint_reporter.h"

// The editor as main() starts it, ending once its window has been painted.
int main(int argc, char* argv[])
{
    return runZarn(argc, argv, [](QWidget& window) { new FirstPaintReporter(&window); });
}
