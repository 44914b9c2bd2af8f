#pragma once

// The product's own texts and addresses, in one place: the window caption, the About box and the
// Help menu take them from here.
namespace Product {

inline constexpr const char* Name = "Quillmark";
inline constexpr const char* MakerNotice = "© The Quillmark developers";
inline constexpr const char* Description = "Generate 20 types of barcodes";
inline constexpr const char* Email = "quillmark@example.org";
inline constexpr const char* Website = "https://quillmark.example.org/";
inline constexpr const char* AuthorsWebsite = "https://quillmark.example.org/developers";
inline constexpr const char* Helpdesk = "https://quillmark.example.org/issues";

} // namespace Product
