// A program built by Microsoft's rules (for x86_64-pc-windows-msvc, with no C
// runtime and no header) that calls the script hook's eight functions by the
// plain names the plug-in's code calls: linked against the import library
// made from lib.def, with the options that bind those names, it imports them
// under their decorated names. It is linked, never run.
struct HINSTANCE__;  // NOLINT(bugprone-reserved-identifier): Windows' name

extern "C" {
void scriptRegister(HINSTANCE__* module, void (*entry)());
void scriptUnregister(HINSTANCE__* module);
void keyboardHandlerRegister(void (*callback)(unsigned long, unsigned short, unsigned char, int,
                                              int, int, int));
void keyboardHandlerUnregister(void (*callback)(unsigned long, unsigned short, unsigned char, int,
                                                int, int, int));
void scriptWait(unsigned long milliseconds);
void nativeInit(unsigned long long hash);
void nativePush64(unsigned long long slot);
unsigned long long* nativeCall();
}

namespace {
void scriptEntry() {}
void onKeyboardEvent(unsigned long, unsigned short, unsigned char, int, int, int, int) {}
}  // namespace

extern "C" int probeEntry() {
  scriptRegister(nullptr, scriptEntry);
  keyboardHandlerRegister(onKeyboardEvent);
  scriptWait(0);
  nativeInit(0);
  nativePush64(0);
  const unsigned long long result = *nativeCall();
  keyboardHandlerUnregister(onKeyboardEvent);
  scriptUnregister(nullptr);
  return static_cast<int>(result);
}
