// The compiled catalogues live in this library's resources under :/i18n; this file only gives the
// library an object of its own.
namespace lm360r_catalogues {
int anchor = 0;
}
