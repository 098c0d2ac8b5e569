// Post-effect definitions: reading, the value rule, the unsigned priority order, the time window,
// the buffers bound to parameters, and entries that would draw outside the work buffers.
#include "resources/post_effect_manager.h"

#include <array>
#include <memory>

#include "files/definition_xml.h"
#include "render/screen_buffer.h"
#include "render/shader_manager.h"
#include "render/texture_manager.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"
#include "tests/support/resource_pack_test.h"

namespace {

XmlElement Parse(const std::string& text) {
  const XmlParseResult result = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  EXPECT_EQ(result.code, 0);
  return result.root;
}

std::array<float, 4> Values(const PostEffectConstant& constant) {
  return {constant.values[0], constant.values[1], constant.values[2], constant.values[3]};
}

TEST(PostEffectEntries, ConstantsRepeatTheirLastValueToFillFourComponents) {
  using V = std::array<float, 4>;
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "float", "0.25")), (V{0.25f, 0.25f, 0.25f, 0.25f}));
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "float2", "0.5,2")), (V{0.5f, 2, 2, 2}));
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "float3", "1, 2, 3")), (V{1, 2, 3, 3}));
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "float4", "1,2,3,4,5")), (V{1, 2, 3, 4}));
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "float3", "7")), (V{7, 0, 0, 0}));
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "half", "7")), (V{0, 0, 0, 0}));
  EXPECT_EQ(Values(ReadPostEffectConstant("p", "Float", "7")), (V{0, 0, 0, 0}));
  EXPECT_EQ(Values(ReadPostEffectConstant(nullptr, "float", nullptr)), (V{0, 0, 0, 0}));
}

TEST(PostEffectEntries, SourcesNameLineOrWorkBuffers) {
  PostEffectSource work = ReadPostEffectSource("p", "depth", "w3");
  EXPECT_EQ(work.set, POST_EFFECT_WORK_BUFFERS);
  EXPECT_EQ(work.index, 3);
  EXPECT_EQ(work.kind, POST_EFFECT_DEPTH);
  PostEffectSource line = ReadPostEffectSource("p", "color", "3");
  EXPECT_EQ(line.set, POST_EFFECT_LINE_BUFFERS);
  EXPECT_EQ(line.index, 3);
  EXPECT_EQ(line.kind, POST_EFFECT_COLOR);
  EXPECT_EQ(ReadPostEffectSource("p", "Color", "1").kind, POST_EFFECT_NO_KIND);
  EXPECT_EQ(ReadPostEffectSource("p", nullptr, nullptr).index, 0);
}

TEST(PostEffectEntries, ReadInDocumentOrderThenSortedByUnsignedPriority) {
  const XmlElement root = Parse(R"(<TRDataXml name="postEffectDefine">
    <PostEffectEntry sTime="0" eTime="10" shader="a" execPrio="10" execPass="-1" renderTarget="-1">
      <ConstantEntry param="k" type="float2" value="0.5,2"/>
      <SourceLineEntry param="s" type="color" lineId="w1"/>
    </PostEffectEntry>
    <posteffectentry shader="b" execPrio="-1" renderTarget="0"/>
    <PostEffectEntry shader="c" execPrio="5" renderTarget="9" execPass="2"/>
    <PostEffectEntry shader="d" execPrio="7" renderTarget="10"/>
    <PostEffectEntry shader="e" execPrio="7" renderTarget="-2"/>
  </TRDataXml>)");
  std::vector<PostEffectEntry> entries;
  std::vector<std::string> notes;
  ReadPostEffectEntries(root, entries, notes);
  ASSERT_EQ(entries.size(), 3u);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0], "PostEffectEntry 3 (\"d\"): renderTarget 10 names no work buffer; entry skipped");
  EXPECT_EQ(entries[0].shader, "a");
  EXPECT_EQ(entries[0].endTime, 10u);
  ASSERT_EQ(entries[0].constants.size(), 1u);
  EXPECT_EQ(entries[0].constants[0].values[3], 2.0f);
  ASSERT_EQ(entries[0].sources.size(), 1u);
  EXPECT_EQ(entries[0].sources[0].param, "s");
  EXPECT_EQ(entries[1].startTime, 0u);  // missing attributes read as 0
  EXPECT_EQ(entries[1].execPass, 0);

  SortPostEffectEntries(entries);
  EXPECT_EQ(entries[0].shader, "c");
  EXPECT_EQ(entries[1].shader, "a");
  EXPECT_EQ(entries[2].shader, "b");  // -1 sorts after every non-negative priority
}

const char SAMPLE_EFFECT[] = R"(
uniform sampler2D src;
uniform vec4 tint;
void vs() { gl_Position = gl_Vertex; }
void fs() { gl_FragColor = texture2D(src, vec2(0.5)) * tint; }
technique T { pass A { VertexProgram = vs; FragmentProgram = fs; } pass B { VertexProgram = vs; FragmentProgram = fs; } }
)";

class PostEffectManagerTest : public ResourcePackTest {
 protected:
  void TearDown() override {
    gPostEffectManager.Terminate();
    gShaderManager.SetCurrentEffect(nullptr);
    ResourcePackTest::TearDown();
  }
  void OpenWithDefinition(const std::string& definition) {
    PackContents entries = CoreEffectEntries();
    entries.emplace_back(POST_EFFECT_DEFINE_PATH, definition);
    entries.emplace_back("data\\shader\\sample.cgfx", SAMPLE_EFFECT);
    entries.emplace_back("data\\shader\\broken.cgfx", "not an effect {");
    OpenPack(entries);
  }
};

TEST_F(PostEffectManagerTest, LoadsEntriesWithTheirEffectsInPriorityOrder) {
  OpenWithDefinition(R"(<TRDataXml name="postEffectDefine">
    <PostEffectEntry sTime="1000" eTime="3000" shader="sample" execPrio="10" execPass="-1" renderTarget="-1"/>
    <PostEffectEntry sTime="0" eTime="100" shader="broken" execPrio="5" execPass="1" renderTarget="2"/>
    <PostEffectEntry sTime="0" eTime="100" shader="sample" execPrio="7" execPass="-1" renderTarget="11"/>
  </TRDataXml>)");
  ASSERT_TRUE(gPostEffectManager.loadDefinitions());
  ASSERT_EQ(gPostEffectManager.entryCount(), 2u);
  EXPECT_EQ(gPostEffectManager.LoadNotes().size(), 1u);

  // Entry 0: the broken effect, running on the fallback; only its pass 1.
  resShader* broken = gPostEffectManager.activeEffect(0, 50);
  ASSERT_NE(broken, nullptr);
  EXPECT_NE(broken->GetFallback(), nullptr);
  EXPECT_EQ(gPostEffectManager.renderTarget(0), 2);
  EXPECT_EQ(gPostEffectManager.FirstPass(0), 1);
  EXPECT_EQ(gPostEffectManager.PassEnd(0), 2);

  // Entry 1: the window 1000..3000, both ends included, every pass.
  EXPECT_EQ(gPostEffectManager.activeEffect(1, 999), nullptr);
  resShader* sample = gPostEffectManager.activeEffect(1, 1000);
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(gPostEffectManager.activeEffect(1, 3000), sample);
  EXPECT_EQ(gPostEffectManager.activeEffect(1, 3001), nullptr);
  EXPECT_EQ(gPostEffectManager.progress(1, 1000), 0.0f);
  EXPECT_EQ(gPostEffectManager.progress(1, 2000), 0.5f);
  EXPECT_EQ(gPostEffectManager.progress(1, 3000), 1.0f);
  EXPECT_EQ(gPostEffectManager.progress(1, 3001), 0.0f);
  EXPECT_EQ(gPostEffectManager.FirstPass(1), 0);
  EXPECT_EQ(gPostEffectManager.PassEnd(1), 2);
  EXPECT_EQ(gPostEffectManager.activeEffect(2, 1000), nullptr);

  // Loading again releases the effects held before.
  EXPECT_EQ(sample->GetRefCount(), 1);
  ASSERT_TRUE(gPostEffectManager.loadDefinitions());
  EXPECT_EQ(gResourceManager.Cache().size(), 3u);  // sample, broken and the fallback
}

TEST_F(PostEffectManagerTest, RefusesAFileWhoseRootHasAnotherName) {
  const struct {
    const char* name;
    bool accepted;
  } cases[] = {{"postEffectDefine", true}, {"postEffectDefineV2", true}, {"postEffect", false}, {"posteffectdefine", false}};
  for (const auto& c : cases) {
    OpenWithDefinition(std::string("<TRDataXml name=\"") + c.name +
                       "\"><PostEffectEntry shader=\"sample\" renderTarget=\"-1\"/></TRDataXml>");
    EXPECT_EQ(gPostEffectManager.loadDefinitions(), c.accepted) << c.name;
    EXPECT_EQ(gPostEffectManager.entryCount(), c.accepted ? 1u : 0u) << c.name;
    gPostEffectManager.Terminate();
    ResourcePackTest::TearDown();
  }
}

TEST_F(PostEffectManagerTest, AppliesConstantsAndBindsTheNamedBuffers) {
  OpenWithDefinition(R"(<TRDataXml name="postEffectDefine">
    <PostEffectEntry sTime="0" eTime="100" shader="sample" execPrio="0" execPass="-1" renderTarget="-1">
      <ConstantEntry param="tint" type="float" value="0.5"/>
      <SourceLineEntry param="src" type="depth" lineId="w3"/>
      <SourceLineEntry param="src" type="depth" lineId="12"/>
      <SourceLineEntry param="src" type="other" lineId="1"/>
    </PostEffectEntry>
    <PostEffectEntry sTime="0" eTime="100" shader="sample" execPrio="1" execPass="-1" renderTarget="-1">
      <ConstantEntry param="tint" type="float" value="1"/>
      <SourceLineEntry param="src" type="depth" lineId="3"/>
    </PostEffectEntry>
  </TRDataXml>)");
  ASSERT_TRUE(gPostEffectManager.loadDefinitions());

  std::vector<std::unique_ptr<cScreenBuffer>> owned;
  cScreenBuffer* lines[POST_EFFECT_BUFFER_COUNT] = {};
  cScreenBuffer* works[POST_EFFECT_BUFFER_COUNT] = {};
  owned.emplace_back(new cScreenBuffer(WIDTH, HEIGHT, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH));
  lines[3] = owned.back().get();
  owned.emplace_back(new cScreenBuffer(WIDTH, HEIGHT, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR));
  works[3] = owned.back().get();
  works[3]->bind();
  glClearColor(0, 1, 0, 1);  // work buffer 3 is green
  glClear(GL_COLOR_BUFFER_BIT);
  lines[3]->bind();
  glClearDepth(0.5);  // line buffer 3's depth is 0.5 everywhere
  glClear(GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  glClearColor(0, 0, 0, 0);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

  const auto draw = [&](size_t entry) {
    gPostEffectManager.applyParameters(entry, lines, works);
    resShader* effect = gShaderManager.GetCurrentEffect();
    EXPECT_EQ(effect, gPostEffectManager.activeEffect(entry, 0));
    effect->setPassState(0);
    DrawQuad();
    effect->resetPassState(0);
    return ReadPixel(32, 32);
  };
  // A depth source on the work buffers binds their colour; sources naming no buffer are skipped.
  EXPECT_EQ(draw(0), (std::vector<uint8_t>{0, 128, 0, 255}));
  // A depth source on the line buffers binds their depth texture (sampled as grey).
  const auto grey = draw(1);
  EXPECT_NEAR(grey[0], 128, 1);
  EXPECT_NEAR(grey[1], 128, 1);

  gPostEffectManager.applyParameters(99, lines, works);  // out of range: nothing
}

}  // namespace
