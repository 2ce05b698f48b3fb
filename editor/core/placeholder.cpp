// Removed once the first module lands here.
namespace qvn { int core_placeholder() { return 0; } }
