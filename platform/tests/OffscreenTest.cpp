#include "platform/Offscreen.h"
#include "testkit/Scratch.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

TEST(Offscreen, DrawsIntoFramebufferAndRoundTripsPng)
{
    COffscreenGL gl;
    ASSERT_TRUE(gl.Create(8, 4)) << gl.Error();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 8, 0, 4, -1, 1);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS); // the top half, y 2..4
    glVertex2f(0, 2);
    glVertex2f(8, 2);
    glVertex2f(8, 4);
    glVertex2f(0, 4);
    glEnd();
    const auto pixels = gl.ReadPixels();
    ASSERT_EQ(pixels.size(), 8u * 4 * 4);
    EXPECT_EQ(pixels[0], 255) << "row 0 of the image is the top";
    EXPECT_EQ(pixels[(3 * 8) * 4 + 2], 255) << "the bottom row stays blue";

    const auto path = testkit::TestDir() / "offscreen.png";
    ASSERT_TRUE(WritePng(path.string(), 8, 4, pixels));
    int w = 0, h = 0;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadPng(path.string(), w, h, back));
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(back[0], 255);
    EXPECT_EQ(back[2], 0);
}
