#pragma once

namespace quillet {

// The PDF engine instance of one thread, made by quilletInitialize and torn
// down by quilletDestory.
class CVRX_PDFEngine {
public:
    CVRX_PDFEngine() = default;
    ~CVRX_PDFEngine();
    CVRX_PDFEngine(const CVRX_PDFEngine&) = delete;
    CVRX_PDFEngine& operator=(const CVRX_PDFEngine&) = delete;

    // 0 on success; -1, -2 or -3 name the stage at which the engine failed.
    int initialise();
    void teardown();
    bool isInitialised() const { return codecModule_ != nullptr; }

private:
    void* reserved_ = nullptr;
    void* codecModule_ = nullptr;
};

}  // namespace quillet
