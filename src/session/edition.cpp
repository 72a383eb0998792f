#include "session/edition.h"

namespace orlimo {
namespace {

// The brands' pages (opened by a click on the logo).
constexpr const char* kMakerPage = "https://www.quorvex.example/";
constexpr const char* kFenwoldPage = "https://www.fenwold.example/";
constexpr const char* kKeldarPage = "https://www.keldar.example/";

bool OwnBrand(const Edition& e, int brand) { return !e.ProEdition && e.BrandCode == brand; }

}  // namespace

std::string Edition::TitlePrefix() const {
  if (OwnBrand(*this, kBrandKeldar)) return "KELDAR Orlimo V:";
  if (TashviEdition) return "Quorvex Orlimo (for Tashvi) V:";
  if (ProEdition) return "Quorvex Orlimo Pro V:";
  return "Quorvex Orlimo V:";
}

std::string Edition::WebPageAddress() const {
  if (OwnBrand(*this, kBrandFenwold)) return kFenwoldPage;
  if (OwnBrand(*this, kBrandKeldar)) return kKeldarPage;
  return kMakerPage;
}

std::string Edition::LogoHint() const {
  if (OwnBrand(*this, kBrandFenwold)) return "Click here to visit Fenwold web site  ...";
  if (OwnBrand(*this, kBrandKeldar)) return "Click here to visit KELDAR web site  ...";
  return "Click to visit Quorvex web site  ...";
}

std::string Edition::DialBrandCaption() const { return OwnBrand(*this, kBrandKeldar) ? " KELDAR" : ""; }

}  // namespace orlimo
