#include "tests/fuzz/driven_effect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "meter_level/level_parameters.h"
#include "tests/fuzz/guarded_buffer.h"
#include "tests/fuzz/host_block.h"

namespace {

constexpr VstInt32 kLastOpcode = effBeginLoadProgram;
constexpr std::size_t kProgramNameChars = kVstMaxProgNameLen - 1;

enum class Pointer { kNone, kTextIn, kTextOut, kPointerOut, kWindow, kData };

struct PointerRule {
    Pointer kind;
    std::size_t size;
};

/// What the interface passes in the pointer argument of each request. Requests this
/// effect leaves alone get a buffer of no bytes: any use of it is a fault.
PointerRule pointerFor(VstInt32 opcode) {
    switch (opcode) {
        case effSetProgramName:
        case effString2Parameter:
        case effCanDo:
            return {Pointer::kTextIn, 0};
        case effGetProgramName:
        case effGetProgramNameIndexed:
            return {Pointer::kTextOut, kVstMaxProgNameLen};
        case effGetParamLabel:
        case effGetParamDisplay:
            return {Pointer::kTextOut, kVstMaxLabelLen};
        case effGetParamName:
            return {Pointer::kTextOut, kVstMaxParamNameLen};
        case effGetEffectName:
            return {Pointer::kTextOut, kVstMaxEffectNameLen};
        case effGetVendorString:
            return {Pointer::kTextOut, kVstMaxVendorStrLen};
        case effGetProductString:
            return {Pointer::kTextOut, kVstMaxProductStrLen};
        case effEditGetRect:
        case effGetChunk:
        case effGetSpeakerArrangement:
            return {Pointer::kPointerOut, sizeof(void*)};
        case effEditOpen:
            return {Pointer::kWindow, 0};
        case effSetChunk:
            return {Pointer::kData, 0};
        default:
            return {Pointer::kNone, 0};
    }
}

bool sameValue(float a, float b) {
    // NaN payloads may change on their way through x87 registers.
    return std::isnan(a) ? std::isnan(b) : std::memcmp(&a, &b, sizeof(a)) == 0;
}

std::string describe(VstInt32 index, float value) {
    return "parameter " + std::to_string(index) + " reads " + std::to_string(value);
}

}  // namespace

DrivenEffect::DrivenEffect(AEffect* record, FaultLog& faults, int panelHeight)
    : effect(record), faults(faults), panelHeight(panelHeight) {
    names.fill("Init");
    // Switching on at construction published the meters into program 0.
    for (VstInt32 index = 1; index <= 3; ++index) {
        values[0][index] = {true, 0.0f};
    }
}

DrivenEffect::~DrivenEffect() {
    if (!closed) {
        close();
    }
}

VstIntPtr DrivenEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    faults.nextCall();
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void DrivenEffect::request(FuzzInput& in, void* parentWindow) {
    VstInt32 opcode = static_cast<VstInt32>(in.below(kLastOpcode + 4));
    if (in.oneIn(8)) {
        opcode = static_cast<VstInt32>(in.u32());  // negative and unknown opcodes too
    }
    request(in, parentWindow, opcode);
}

void DrivenEffect::request(FuzzInput& in, void* parentWindow, VstInt32 opcode) {
    if (opcode == effClose) {
        close();
        return;
    }
    const VstInt32 index = in.index();
    VstIntPtr value = in.value();
    const float opt = in.anyFloat();

    const PointerRule rule = pointerFor(opcode);
    GuardedBuffer buffer(rule.size);
    GuardedBuffer valueBuffer(opcode == effGetSpeakerArrangement ? sizeof(void*) : 0);
    void* ptr = buffer.data();
    if (rule.kind == Pointer::kTextIn) {
        const std::string text = in.text(64);
        GuardedBuffer textBuffer(text.size() + 1);
        std::memcpy(textBuffer.data(), text.c_str(), text.size() + 1);
        const VstIntPtr answer = dispatch(opcode, index, value, textBuffer.text(), opt);
        faults.check(textBuffer.guardsIntact(), "a text handed in was written around");
        if (opcode == effSetProgramName) {
            names[static_cast<std::size_t>(program)] = text.substr(0, kProgramNameChars);
        } else {
            faults.check(answer == 0, "a text request this effect does not know answered");
        }
        return;
    }
    if (rule.kind == Pointer::kWindow) {
        ptr = parentWindow;
    }
    std::vector<std::uint8_t> chunk;
    if (rule.kind == Pointer::kData) {
        chunk.resize(in.below(64));
        value = static_cast<VstIntPtr>(chunk.size());
        ptr = chunk.empty() ? nullptr : chunk.data();
    }
    if (opcode == effGetSpeakerArrangement || opcode == effSetSpeakerArrangement) {
        value = reinterpret_cast<VstIntPtr>(valueBuffer.data());  // an address, as for 69
    }
    if (in.oneIn(8)) {
        ptr = nullptr;  // no buffer, or no parent window: a frame without a window
    }
    const VstIntPtr answer = dispatch(opcode, index, value, ptr, opt);
    faults.check(buffer.guardsIntact() && valueBuffer.guardsIntact(),
                 "request " + std::to_string(opcode) + " wrote outside its buffer");
    if (ptr == buffer.data()) {
        checkAnswer(opcode, index, value, answer, buffer.text(), buffer.untouched());
    } else {
        checkAnswer(opcode, index, value, answer, nullptr, true);
    }
    if (opcode == effGetSpeakerArrangement && ptr) {
        void* written[2] = {};
        std::memcpy(&written[0], valueBuffer.data(), sizeof(void*));
        std::memcpy(&written[1], buffer.data(), sizeof(void*));
        faults.check(!written[0] && !written[1], "the speaker arrangements were not set to none");
    }
}

void DrivenEffect::editorRequest(FuzzInput& in, void* parentWindow) {
    static constexpr VstInt32 kOpcodes[] = {
        effEditGetRect, effEditOpen,  effEditClose,       effEditIdle, effEditIdle,  effEditIdle,
        effEditKeyDown, effEditKeyUp, effSetEditKnobMode, effEditDraw, effEditMouse, effEditTop};
    const VstInt32 opcode = kOpcodes[in.below(sizeof(kOpcodes) / sizeof(kOpcodes[0]))];
    VstInt32 index = 0;
    VstIntPtr value = 0;
    float opt = 0.0f;
    if (opcode == effEditKeyDown || opcode == effEditKeyUp) {
        index = in.oneIn(4) ? in.index() : static_cast<VstInt32>(in.below(128));
        value = in.oneIn(4) ? in.value() : static_cast<VstIntPtr>(in.below(20));
        opt = in.oneIn(4) ? in.anyFloat() : static_cast<float>(in.below(16));
    } else if (opcode == effSetEditKnobMode) {
        value = in.value();
    }
    GuardedBuffer rectPointer(sizeof(ERect*));
    void* ptr = opcode == effEditOpen ? parentWindow : rectPointer.data();
    const VstIntPtr answer = dispatch(opcode, index, value, ptr, opt);
    faults.check(rectPointer.guardsIntact(), "an editor request wrote outside its buffer");
    checkAnswer(opcode, index, value, answer,
                opcode == effEditGetRect ? rectPointer.text() : nullptr, rectPointer.untouched());
}

void DrivenEffect::checkAnswer(VstInt32 opcode, VstInt32 index, VstIntPtr value, VstIntPtr answer,
                               const char* text, bool textUntouched) {
    const std::string request = "request " + std::to_string(opcode);
    const PointerRule rule = pointerFor(opcode);
    const bool terminated = text && std::memchr(text, '\0', rule.size) != nullptr;
    const std::string written = terminated ? std::string(text) : std::string();
    const bool parameter = index >= 0 && index < kParameters;
    switch (opcode) {
        case effSetProgram:
            if (value >= 0 && value < kPrograms) {
                program = static_cast<VstInt32>(value);
            }
            break;
        case effGetProgram:
            faults.check(answer == program, "the program number is not the one set");
            break;
        case effGetProgramName:
            faults.check(!text || written == expectedProgramName(program),
                         "the program name reads \"" + written + "\"");
            break;
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
            faults.check(!text || (parameter ? terminated : textUntouched),
                         request + " for index " + std::to_string(index) + " wrote a bad text");
            break;
        case effGetProgramNameIndexed: {
            const bool known = index >= 0 && index < kPrograms;
            faults.check(answer == (known && text ? 1 : 0), request + " answered wrongly");
            faults.check(!text || (known ? written == names[static_cast<std::size_t>(index)]
                                         : textUntouched),
                         "the name of program " + std::to_string(index) + " reads wrongly");
            break;
        }
        case effGetEffectName:
        case effGetVendorString:
        case effGetProductString: {
            const char* expected = opcode == effGetEffectName     ? "Pevo"
                                   : opcode == effGetVendorString ? "Quellmark"
                                                                  : "Pevo level meter";
            faults.check(!text || (answer == 1 && written == expected),
                         request + " answered wrongly");
            break;
        }
        case effMainsChanged:
            if (value != 0) {
                publish();
            }
            break;
        case effIdentify:
            faults.check(answer == kEffectIdentify, "the effect does not identify itself");
            break;
        case effEditGetRect: {
            ERect* rect = nullptr;
            if (text) {
                std::memcpy(&rect, text, sizeof(rect));
            }
            faults.check(!text || (answer == 1 && rect && rect->top == 0 && rect->left == 0 &&
                                   rect->bottom == panelHeight && rect->right == 900),
                         "the editor's rectangle is not its panel's");
            break;
        }
        case effEditOpen:
            faults.check(answer == 1, "the editor did not open");
            break;
        case effGetChunk:
            faults.check(answer == 0 && textUntouched, "the effect handed out a chunk");
            break;
        default:
            faults.check(opcode >= 0 && opcode <= kLastOpcode ? true : answer == 0,
                         "unknown request " + std::to_string(opcode) + " answered");
            break;
    }
}

std::string DrivenEffect::expectedProgramName(VstInt32 number) const {
    const std::string& stored = names[static_cast<std::size_t>(number)];
    return stored == "Init" ? "Init " + std::to_string(number + 1) : stored;
}

void DrivenEffect::setParameter(FuzzInput& in) {
    const VstInt32 index = in.index();
    const float value = in.parameter();
    faults.nextCall();
    effect->setParameter(effect, index, value);
    valueSet(index, value);
}

void DrivenEffect::getParameter(FuzzInput& in) {
    const VstInt32 index = in.index();
    faults.nextCall();
    const float value = effect->getParameter(effect, index);
    if (index >= kStripLevels && index < kTableEntryCount) {
        // The strips' own readings, which the other formats carry, read on the meters' scale.
        faults.check(value >= 0.0f && value <= 1.0f, describe(index, value) + ", not 0 to 1");
    } else if (index < 0 || index >= kParameters) {
        faults.check(value == 0.0f, describe(index, value) + ", not 0");
    }
}

void DrivenEffect::process(FuzzInput& in, std::int32_t longest) {
    std::int32_t frames = 0;
    switch (in.below(8)) {
        case 0:
            break;
        case 1:
            frames = 1;
            break;
        case 2:
            frames = in.oneIn(4) ? std::numeric_limits<std::int32_t>::min()
                                 : -static_cast<std::int32_t>(in.below(1000)) - 1;
            break;
        case 3:
            frames = static_cast<std::int32_t>(in.below(static_cast<std::uint32_t>(longest) + 1));
            break;
        case 4:
            frames = 128 * static_cast<std::int32_t>(
                               in.below(static_cast<std::uint32_t>(longest) / 128 + 1));
            break;
        default:
            frames =
                static_cast<std::int32_t>(in.below(std::min<std::uint32_t>(1024, longest) + 1));
            break;
    }
    HostBlock block(in, frames);
    const bool replacing = !in.oneIn(3);
    faults.nextCall();
    (replacing ? effect->processReplacing : effect->process)(effect, block.inputs(),
                                                             block.outputs(), frames);
    const std::string fault = block.check();
    faults.check(fault.empty(), fault + " (" + std::to_string(frames) + " frames)");
    if (block.processable()) {
        publish();
    }
}

void DrivenEffect::close() {
    const VstIntPtr answer = dispatch(effClose, 0, 0, nullptr, 0.0f);
    faults.check(answer == 1, "closing did not answer 1");
    closed = true;
}

void DrivenEffect::valueSet(VstInt32 index, float value) {
    if (index >= 0 && index < kParameters) {
        values[static_cast<std::size_t>(program)][static_cast<std::size_t>(index)] = {false, value};
    }
}

void DrivenEffect::publish() {
    for (std::size_t index = 1; index <= 3; ++index) {
        values[static_cast<std::size_t>(program)][index] = {true, 0.0f};
    }
}

void DrivenEffect::checkParameters() {
    for (VstInt32 index = 0; index < kParameters && !faults.any(); ++index) {
        const float value = effect->getParameter(effect, index);
        const Expected& expected =
            values[static_cast<std::size_t>(program)][static_cast<std::size_t>(index)];
        if (expected.published) {
            faults.check(std::isfinite(value) && value >= 1.0f && value <= 1.5f,
                         describe(index, value) + ", not a published reading");
        } else {
            faults.check(sameValue(value, expected.value),
                         describe(index, value) + ", not " + std::to_string(expected.value));
        }
    }
}
