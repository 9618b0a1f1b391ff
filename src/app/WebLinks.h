#pragma once
// The product's web pages. Every link of the program is on the one host below.

#include <string>

inline constexpr const char* kWebHost = "https://www.korvane.example";

// The address of a path on the product's web host.
inline std::string WebLink(const std::string& Path) { return kWebHost + Path; }
inline std::string ProductPageURL() { return WebLink("/sonalix/"); }
inline std::string SupportPageURL() { return WebLink("/sonalix/support/"); }
inline std::string RelatedSoftwareURL() { return WebLink("/sonalix/related/"); }
inline std::string MakerHomeURL() { return WebLink("/"); }
