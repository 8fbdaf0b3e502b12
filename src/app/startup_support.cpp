// MinGW start-up hooks that the setup needs in their simplest form; the
// library's own bring code the setup never runs.

// The start-up patches references to DLL data that the linker imported
// without the program asking for it. The setup is linked with
// --disable-auto-import, so the linker refuses such references and there is
// nothing to patch: the patcher's 3 KB stay out.
extern "C" void _pei386_runtime_relocator() {}

// The start-up installs these two for math-library errors and for faults no
// one handles; MinGW's own print to a console the setup does not have. The
// setup calls no math function and installs no signal handler, so both do
// what the system would do without them.
extern "C" int _matherr(struct _exception*) { return 0; }
extern "C" {
void* __mingw_oldexcpt_handler = nullptr;
}
extern "C" __attribute__((stdcall)) long _gnu_exception_handler(void*) { return 0; }
