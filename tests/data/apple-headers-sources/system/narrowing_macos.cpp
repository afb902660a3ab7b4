// Compiles, but the project's warnings are errors.
namespace {

[[maybe_unused]] int truncated(long value) {
  return value;
}

}  // namespace
