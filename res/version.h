// The program's version and identity. Plain macros: the Windows resource compiler reads this
// file too.
#pragma once

#define KESTRIN_VERSION_NUMBERS 1, 0, 0, 1
#define KESTRIN_VERSION_TEXT "1.0.0.1"
#define KESTRIN_PRODUCT_NAME "Kestrin"
#define KESTRIN_DESCRIPTION "Kestrin，解放你的双手"
#define KESTRIN_ABOUT_TITLE "Kestrin 1.0"

// The maker's page and the credit shown on the About box's link. Set at build time with
// -DKESTRIN_PAGE_URL=... and -DKESTRIN_LINK_TEXT=... (CMake cache variables of the same names).
#ifndef KESTRIN_PAGE_URL
#define KESTRIN_PAGE_URL "https://kestrin.example.org/"
#endif
#ifndef KESTRIN_LINK_TEXT
#define KESTRIN_LINK_TEXT "Kestrin 开发组  kestrin.example.org"
#endif
