// A shared object in the system folder that is no codec module: it lacks MxDriverProc.
extern "C" __attribute__((visibility("default"))) int NotADriverProc() {
    return 0;
}
