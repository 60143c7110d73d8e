// A library that only carries icon resources for the extraction tests.
extern "C" __declspec(dllexport) int KivoTestIconModule() {
  return 1;
}
