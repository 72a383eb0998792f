// The switches fixed when the program is built: branding and which features exist.
// Nothing changes them at run time.
#pragma once

#include <string>

namespace orlimo {

enum TBrandCode : int { kBrandMaker = 0, kBrandFenwold = 1, kBrandKeldar = 2 };

struct Edition {
  // Whose name the window carries when it is not the full edition.
  int BrandCode = kBrandKeldar;
  // The full command layout: hot start, NMEA output button, receiver-rate group and
  // the command console; writes the extended settings.
  bool ProEdition = false;
  // Its own title; writes the extended settings; opens the command controls when the
  // firmware does not answer in time.
  bool TashviEdition = false;
  // Trickle-power button shown and power-mode queries sent.
  bool TrickleButtonEnabled = false;
  // The window at its design size with the diagnostic strip and the message log.
  bool WideLayout = false;
  // A short non-Pro layout with the receiver-rate group and a short banner.
  bool CompactLayout = false;

  std::string VersionText = "1.10";

  // The caption's prefix, the brand's web page and the logo's hint, chosen in three
  // steps: the maker's page; the prefix by edition; a brand's own for other than Pro.
  std::string TitlePrefix() const;
  std::string WebPageAddress() const;
  std::string LogoHint() const;
  // The brand label on the speed dial; empty: the dial's own.
  std::string DialBrandCaption() const;
  // Pro and Tashvi write the receiver rate, syntax colours and console history.
  bool WritesExtendedSettings() const { return ProEdition || TashviEdition; }

  std::string Title() const { return TitlePrefix() + VersionText; }
};

}  // namespace orlimo
