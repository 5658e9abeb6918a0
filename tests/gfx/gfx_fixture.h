#pragma once
// A headless host with an open window and a windowed 320 x 240 device, for the device's tests.

#include <gtest/gtest.h>

#include "platform/gfx/device.h"
#include "platform/gfx/graphics_system.h"
#include "platform/headless/headless_host.h"
#include "platform/window.h"

class GfxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::gfx::adapterProfile() = plat::gfx::defaultAdapterProfile();
        plat::setHost(&host);
        plat::resetWindowing();
        host.config().printMessageBoxes = false;
        system = plat::gfx::createGraphicsSystem();
        ASSERT_NE(system, nullptr);
    }
    void TearDown() override {
        plat::releaseRef(device);
        plat::releaseRef(system);
        plat::resetWindowing();
        plat::gfx::adapterProfile() = plat::gfx::defaultAdapterProfile();
        plat::setHost(nullptr);
    }

    static plat::gfx::PresentParams params(bool windowed) {
        plat::gfx::PresentParams p;
        p.backBufferWidth = 320;
        p.backBufferHeight = 240;
        p.backBufferFormat = windowed ? plat::gfx::Format::X8R8G8B8 : plat::gfx::Format::R5G6B5;
        p.backBufferCount = 1;
        p.windowed = windowed;
        p.enableAutoDepthStencil = true;
        p.autoDepthStencilFormat = plat::gfx::Format::D16;
        return p;
    }

    void createDevice(bool windowed = true) {
        auto p = params(windowed);
        ASSERT_EQ(system->createDevice(plat::gfx::DeviceType::Hardware, nullptr,
                                       plat::gfx::behaviour::MixedVertexProcessing, p, &device),
                  plat::kOk);
    }

    // Opens a window so that the application is reported active (full-screen devices need it).
    void openActiveWindow() {
        plat::WindowClass c;
        c.procedure = plat::defWindowProc;
        c.className = "test";
        plat::registerClass(c);
        plat::createWindow("test", "test", plat::style::Visible, 0, 0, 320, 240);
        ASSERT_TRUE(plat::applicationActive());
    }
    // Lets the window service take the host's queued events.
    void pumpMessages() {
        plat::Message m;
        while (plat::peekMessage(m)) plat::dispatchMessage(m);
    }

    plat::HeadlessHost host;
    plat::gfx::GraphicsSystem* system = nullptr;
    plat::gfx::Device* device = nullptr;
};
