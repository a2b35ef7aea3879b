#include <gtest/gtest.h>
TEST(PagoraPreview, Placeholder) {}
