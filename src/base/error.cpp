#include "base/error.h"

namespace velkora {

VariantTypeError::VariantTypeError() : Error("Ungültige Variant-Typumwandlung") {}

NotImplementedError::NotImplementedError(const std::string& function_name)
    : Error("Die Funktion " + function_name + " ist in dieser Version noch nicht verfügbar",
            kStatusNotImplemented) {}

}  // namespace velkora
