#pragma once

namespace zarn {

// What stands at a name in a folder.
enum class FileKind
{
    Missing,
    Regular,
    Link,
    Folder,
    NamedPipe,
    Device,
    Socket,
};

} // namespace zarn
