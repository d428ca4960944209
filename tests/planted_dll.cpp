// A DLL that a test plants beside the program: a copy of the program must never load it.
extern "C" __declspec(dllexport) int Planted() { return 1; }
