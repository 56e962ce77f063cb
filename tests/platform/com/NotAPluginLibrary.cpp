// A shared object that exports none of a plug-in's entry points.
extern "C" __attribute__((visibility("default"))) int NotAPluginAnswer() { return 42; }
