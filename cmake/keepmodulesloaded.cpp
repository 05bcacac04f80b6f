// Linked into the programs of an AddressSanitizer build only.
//
// Qt unloads its plugins (the xcb platform, image formats, ...) and whatever they loaded, such as
// the D-Bus library, while the program exits. LeakSanitizer checks for leaks after that: memory the
// unloaded libraries still held through their globals then looks leaked, and its allocation stack
// reads "<unknown module>", which no suppression can name. A program that defines dlclose() itself
// comes first in symbol lookup, so every library's dlclose() lands here and the libraries stay
// mapped to the end: their memory stays reachable and their frames keep their names.
extern "C" int dlclose(void*)
{
    return 0;
}
