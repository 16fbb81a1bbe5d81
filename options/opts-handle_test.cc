// Tests of applying options: the generic store by variable kind, dispatch
// by class, the common handler's sanitizer, debug-format and diagnostics
// cases, and the target defaults.
#include "options/debug-args.h"
#include "options/opts-test-support.h"

namespace {

class handling : public options_fixture {};

TEST_F(handling, InitialValuesAndTargetDefaults) {
  option_values marks;
  std::memset(&marks, 0xff, sizeof marks);
  init_options_struct(&values, &marks);
  EXPECT_EQ(marks.x_dwarf_version, 0);
  EXPECT_EQ(marks.x_output_file, nullptr);
  EXPECT_EQ(values.x_flag_sanitize | values.x_flag_sanitize_trap, 0);
  EXPECT_EQ(values.x_flag_short_enums, 2);
  EXPECT_EQ(values.x_flag_signed_char, 0);
  EXPECT_EQ(values.x_target_flags, aarch64_default_target_flags);
  EXPECT_EQ(values.x_flag_unwind_tables, aarch64_unwind_tables_default);
}

int &int_variable(option_index i, option_values *v) {
  return *static_cast<int *>(option_variable(i, v));
}

TEST_F(handling, StoreByVariableKind) {
  // VAR_STRING, VAR_INTEGER and VAR_ENUM through the driver's path.
  EXPECT_EQ(apply({"-o", "out", "-v", "-fdiagnostics-color=always"}), "");
  EXPECT_STREQ(values.x_output_file, "out");
  EXPECT_STREQ(set.x_output_file, "");
  EXPECT_EQ(values.x_verbose_flag, 1);
  EXPECT_EQ(set.x_verbose_flag, 1);
  EXPECT_EQ(int_variable(OPT_fdiagnostics_color_, &values), 1);
  EXPECT_EQ(int_variable(OPT_fdiagnostics_color_, &set), 1);
  EXPECT_EQ(option_variable(OPT____, &values), nullptr);
  EXPECT_EQ(option_variable(OPTION_UNKNOWN, &values), nullptr);
  EXPECT_EQ(option_variable(OPT_mstrict_align, &values), &values.x_target_flags);

  // The kinds the driver's options do not reach, option by option.
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (r.var_offset == OPTION_NO_VARIABLE || r.alias_target != option_count)
      continue;
    SCOPED_TRACE(r.text);
    option_values v = values, s{};
    auto store = [&](std::int64_t value) {
      store_option_value(&v, &s, i, value, nullptr, UNKNOWN_LOCATION, 0);
    };
    switch (r.var_kind) {
    case VAR_BIT_SET:
    case VAR_BIT_CLEAR: {
      std::int64_t sets = r.var_kind == VAR_BIT_SET ? 1 : 0;
      store(sets);
      EXPECT_EQ(int_variable(i, &v) & r.var_value, r.var_value);
      EXPECT_EQ(int_variable(i, &s), r.var_value);
      store(!sets);
      EXPECT_EQ(int_variable(i, &v) & r.var_value, 0);
      break;
    }
    case VAR_EQUAL:
      if (r.attrs & attr_wide_value)
        break;
      store(1);
      EXPECT_EQ(int_variable(i, &v), r.var_value);
      store(0);
      EXPECT_EQ(int_variable(i, &v), r.var_value == 0 ? 1 : 0);
      EXPECT_EQ(int_variable(i, &s), 1);
      break;
    case VAR_SIZE:
      store(-1);
      EXPECT_EQ(*static_cast<std::int64_t *>(option_variable(i, &v)), -1);
      EXPECT_EQ(*static_cast<std::int64_t *>(option_variable(i, &s)), -1);
      break;
    default:
      break;
    }
  }
}

TEST_F(handling, DeferredOptionsKeepCommandLineOrder) {
  option_index deferred[2];
  int found = 0;
  for (option_index i = 0; i < option_count && found < 2; ++i)
    if (option_table[i].var_kind == VAR_DEFERRED && option_table[i].alias_target == option_count)
      deferred[found++] = i;
  ASSERT_GE(found, 1);
  store_option_value(&values, &set, deferred[0], 1, "first", UNKNOWN_LOCATION, 0);
  store_option_value(&values, &set, deferred[found - 1], 0, "second", UNKNOWN_LOCATION, 0);
  auto *list = static_cast<deferred_option_list *>(values.x_deferred_options);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->size(), 2u);
  EXPECT_EQ((*list)[0].opt_index, deferred[0]);
  EXPECT_STREQ((*list)[0].arg, "first");
  EXPECT_EQ((*list)[1].value, 0);
  EXPECT_STREQ((*list)[1].arg, "second");
  EXPECT_EQ(set.x_deferred_options, values.x_deferred_options);
  delete list;
}

TEST_F(handling, DebugOptions) {
  constexpr std::uint32_t DW = DWARF2_DEBUG, CTF = CTF_DEBUG, BTF = BTF_DEBUG;
  struct {
    std::vector<const char *> words;
    const char *diagnostics;
    std::uint32_t format, format_mark;
    int level, ctf_level, dwarf_version;
  } cases[] = {
      {{"-gdwarf-4"}, "", DW, DW, 2, 0, 4},
      {{"-gdwarf-6"}, "vrk++: error: dwarf version 6 is not supported\n", DW, DW, 2, 0, 6},
      // Plain -gdwarf selects the current version, which -gdwarf-6 has set.
      {{"-gdwarf-6", "-gdwarf"},
       "vrk++: error: dwarf version 6 is not supported\n"
       "vrk++: error: dwarf version 6 is not supported\n",
       DW, DW, 2, 0, 6},
      // A value too big for the variable is not stored; all ones is huge,
      // not -1.
      {{"-gdwarf-3000000000"},
       "vrk++: error: argument to '-gdwarf-' is bigger than 2147483647\n"
       "vrk++: error: dwarf version 3000000000 is not supported\n",
       DW, DW, 2, 0, 5},
      {{"-gdwarf-18446744073709551615"},
       "vrk++: error: argument to '-gdwarf-' is bigger than 2147483647\n"
       "vrk++: error: dwarf version 18446744073709551615 is not supported\n",
       DW, DW, 2, 0, 5},
      {{"-gdwarf4"},
       "vrk++: error: '-gdwarf4' is ambiguous; use '-gdwarf-4' for DWARF version or "
       "'-gdwarf' '-g4' for debug level\n",
       0, 0, 0, 0, 5},
      // Levels.
      {{"-g3"}, "", DW, 0, 3, 0, 5},  // -g alone marks nothing
      {{"-g3", "-g0"}, "", DW, 0, 0, 0, 5},
      {{"-g3", "-g4"}, "vrk++: error: debug output level '4' is too high\n", DW, 0, 3, 0, 5},
      {{"-gx"}, "vrk++: error: unrecognized debug output level 'x'\n", DW, 0, 0, 0, 5},
      // Formats that combine and formats that conflict.
      {{"-gctf", "-gbtf"}, "vrk++: error: debug format 'btf' conflicts with prior selection\n",
       BTF, BTF, 2, 2, 5},
      {{"-gdwarf", "-gctf"}, "", DW | CTF, DW | CTF, 2, 2, 5},
      {{"-gbtf", "-gdwarf"}, "", DW | BTF, DW | BTF, 2, 0, 5},
      {{"-gctf", "-g"}, "", CTF | DW, CTF | DW, 2, 2, 5},
      {{"-gctf0"}, "", CTF, CTF, 0, 0, 5},
      // A BTF level text is refused and changes nothing else; -gbtf still
      // raises the level to 2.
      {{"-gbtf3"}, "vrk++: error: unrecognized btf debug output level '3'\n", BTF, BTF, 2, 0, 5},
      {{"-g3", "-gbtf1"}, "vrk++: error: unrecognized btf debug output level '1'\n", DW | BTF,
       BTF, 3, 0, 5},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.words[0] + std::string(c.words.size() > 1 ? " ..." : ""));
    init_options_struct(&values, &set);
    EXPECT_EQ(apply(c.words), c.diagnostics);
    EXPECT_EQ(values.x_write_symbols, c.format);
    EXPECT_EQ(set.x_write_symbols, c.format_mark);
    EXPECT_EQ(values.x_debug_info_level, c.level);
    EXPECT_EQ(values.x_ctf_debug_info_level, c.ctf_level);
    EXPECT_EQ(values.x_dwarf_version, c.dwarf_version);
  }
}

TEST_F(handling, SanitizerWords) {
  EXPECT_EQ(apply({"-fsanitize=address,undefined", "-fno-sanitize=address"}), "");
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize), 0x037E7FE0u);
  apply({"-fsanitize-undefined-trap-on-error"});
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize_trap), 0x03FFFFE0u);
  apply({"-fsanitize-trap=address", "-fno-sanitize-trap"});
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize_trap), 3u);
  apply({"-fsanitize-trap=all"});
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize_trap), 0x03FFFFE3u);
}

TEST_F(handling, DiagnosticsSettings) {
  apply({"-freport-bug"});
  EXPECT_TRUE(global_reporter.bug_report_mode);
  apply({"-fno-report-bug"});
  EXPECT_FALSE(global_reporter.bug_report_mode);
  apply({"-fdiagnostics-color=always"});
  EXPECT_TRUE(global_reporter.msg_printer->show_color);
  apply({"-fdiagnostics-color=never"});
  EXPECT_FALSE(global_reporter.msg_printer->show_color);
  EXPECT_EQ(diagnostics(), "");
}

TEST_F(handling, DriverReachedCommonOptionsNeedNoExtraCase) {
  // Every option the driver dispatches to the common handler either has a
  // case there or a variable; anything else would be an internal error.
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if ((r.flags & (OPTF_DRIVER | OPTF_COMMON)) != (OPTF_DRIVER | OPTF_COMMON) ||
        r.alias_target != option_count || (r.attrs & attr_unavailable))
      continue;
    decoded_option d;
    const char *arg = (r.flags & (OPTF_JOINED | OPTF_SEPARATE)) ? "" : nullptr;
    generate_option(i, arg, 1, OPTF_DRIVER, &d);
    d.arg = arg;
    option_values v = values, s = set;
    EXPECT_TRUE(common_handle_option(&v, &s, &d, OPTF_DRIVER, kind_unspecified,
                                     UNKNOWN_LOCATION, &handlers, &global_reporter))
        << r.text;
  }
  diagnostics();
}

}  // namespace
