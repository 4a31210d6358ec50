#include "base/error.h"

namespace velkora {

VariantTypeError::VariantTypeError() : Error("Ungültige Variant-Typumwandlung") {}

}  // namespace velkora
