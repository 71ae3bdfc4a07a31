// The maker's addresses and copyright line, in one place: the About page's links, the product
// pages of the other pages' links and the footer.
#pragma once

namespace orv {

// Scheme and host, no path: the About page shows it as it stands and opens it with "/".
inline constexpr char kMakerSite[] = "https://www.tellwick.com";
inline constexpr char kSupportMail[] = "support@tellwick.com";
// Passed exactly so, blanks unencoded; it names version 2.1 although the About page shows 2.2.
inline constexpr char kSupportSubject[] = "?subject=Orvendel v2.1";
// In the system code page: "\xA9" is the copyright sign.
inline constexpr char kCopyrightLine[] = "Copyright \xA9 2008-2024 Tellwick";

}  // namespace orv
