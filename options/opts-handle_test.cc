// Tests of applying options: the generic store by variable kind, dispatch
// by class, the common handler's sanitizer, debug-format and diagnostics
// cases, the target defaults and the debug-level selection.
#include <climits>
#include <string>
#include <vector>

#include "options/debug-args.h"
#include "options/opts-test-support.h"
#include "options/opts.h"

namespace {

constexpr unsigned driver_mask = OPTF_DRIVER;

class handling : public diagnostics_fixture {
protected:
  void SetUp() override {
    diagnostics_fixture::SetUp();
    init_options_struct(&values, &set);
    handlers.unknown_option_callback = [](const decoded_option *) { return true; };
    handlers.wrong_lang_callback = [](const decoded_option *, unsigned) {};
    handlers.target_option_override_hook = aarch64_handle_option;
    handlers.num_handlers = 3;
    handlers.handlers[0] = {accept_driver, OPTF_DRIVER};
    handlers.handlers[1] = {common_handle_option, OPTF_COMMON};
    handlers.handlers[2] = {target_handle_option, OPTF_TARGET};
  }
  static bool accept_driver(option_values *, option_values *, const decoded_option *, unsigned,
                            int, location_t, const option_handler_set *, diagnostic_reporter *) {
    return true;
  }
  // Decode and apply the words as the driver does.
  std::string apply(std::vector<const char *> words, unsigned mask = driver_mask) {
    std::vector<const char *> argv = {"vrk++"};
    argv.insert(argv.end(), words.begin(), words.end());
    argv.push_back(nullptr);
    decoded_option *decoded;
    unsigned count;
    decode_command_line(unsigned(argv.size() - 1), argv.data(), mask, &decoded, &count);
    for (unsigned i = 1; i < count; ++i)
      read_cmdline_option(&values, &set, &decoded[i], UNKNOWN_LOCATION, mask, &handlers,
                          &global_reporter);
    std::free(decoded);
    return diagnostics();
  }
  option_values values{}, set{};
  option_handler_set handlers{};
};

TEST_F(handling, InitialValuesAndTargetDefaults) {
  EXPECT_EQ(values.x_dwarf_version, 5);
  EXPECT_EQ(values.x_flag_sanitize, 0);
  EXPECT_EQ(values.x_flag_sanitize_trap, 0);
  EXPECT_EQ(values.x_write_symbols, 0);
  EXPECT_EQ(values.x_debug_info_level, 0);
  EXPECT_EQ(values.x_flag_short_enums, 2);
  EXPECT_EQ(values.x_flag_signed_char, 0);
  EXPECT_EQ(values.x_target_flags, aarch64_default_target_flags);
  EXPECT_EQ(values.x_flag_unwind_tables, aarch64_unwind_tables_default);
  EXPECT_EQ(set.x_flag_unwind_tables, 0);
}

TEST_F(handling, StoreByVariableKind) {
  // VAR_STRING and its mark.
  apply({"-o", "out"});
  EXPECT_STREQ(values.x_output_file, "out");
  ASSERT_NE(set.x_output_file, nullptr);
  EXPECT_STREQ(set.x_output_file, "");
  // VAR_INTEGER with a flag value.
  apply({"-v"});
  EXPECT_EQ(values.x_verbose_flag, 1);
  EXPECT_EQ(set.x_verbose_flag, 1);
  // VAR_ENUM through the enum's setter.
  apply({"-fdiagnostics-color=never"});
  EXPECT_EQ(diagnostics(), "");

  // The stores themselves, option by option, for the kinds the driver's
  // options do not reach.
  for (option_index i = 0; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (r.var_offset == OPTION_NO_VARIABLE || r.alias_target != option_count)
      continue;
    option_values v = values, s{};
    switch (r.var_kind) {
    case VAR_BIT_SET: {
      store_option_value(&v, &s, i, 1, nullptr, UNKNOWN_LOCATION, 0);
      std::int64_t word = *static_cast<int *>(option_variable(i, &v));
      EXPECT_EQ(word & r.var_value, r.var_value) << r.text;
      EXPECT_EQ(*static_cast<int *>(option_variable(i, &s)), r.var_value) << r.text;
      store_option_value(&v, &s, i, 0, nullptr, UNKNOWN_LOCATION, 0);
      word = *static_cast<int *>(option_variable(i, &v));
      EXPECT_EQ(word & r.var_value, 0) << r.text;
      break;
    }
    case VAR_BIT_CLEAR: {
      store_option_value(&v, &s, i, 0, nullptr, UNKNOWN_LOCATION, 0);
      std::int64_t word = *static_cast<int *>(option_variable(i, &v));
      EXPECT_EQ(word & r.var_value, r.var_value) << r.text;
      store_option_value(&v, &s, i, 1, nullptr, UNKNOWN_LOCATION, 0);
      word = *static_cast<int *>(option_variable(i, &v));
      EXPECT_EQ(word & r.var_value, 0) << r.text;
      break;
    }
    case VAR_EQUAL: {
      if (r.attrs & attr_wide_value)
        break;
      store_option_value(&v, &s, i, 1, nullptr, UNKNOWN_LOCATION, 0);
      EXPECT_EQ(*static_cast<int *>(option_variable(i, &v)), r.var_value) << r.text;
      store_option_value(&v, &s, i, 0, nullptr, UNKNOWN_LOCATION, 0);
      EXPECT_EQ(*static_cast<int *>(option_variable(i, &v)), r.var_value == 0 ? 1 : 0)
          << r.text;
      EXPECT_EQ(*static_cast<int *>(option_variable(i, &s)), 1) << r.text;
      break;
    }
    case VAR_SIZE: {
      store_option_value(&v, &s, i, -1, nullptr, UNKNOWN_LOCATION, 0);
      EXPECT_EQ(*static_cast<std::int64_t *>(option_variable(i, &v)), -1) << r.text;
      EXPECT_EQ(*static_cast<std::int64_t *>(option_variable(i, &s)), -1) << r.text;
      break;
    }
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
}

TEST_F(handling, IntegerThatDoesNotFitIsReported) {
  EXPECT_EQ(apply({"-gdwarf-3000000000"}),
            "vrk++: error: argument to '-gdwarf-' is bigger than 2147483647\n"
            "vrk++: error: dwarf version 3000000000 is not supported\n");
  EXPECT_EQ(values.x_dwarf_version, 5);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG);
  // An all-ones argument is huge, not -1.
  EXPECT_EQ(apply({"-gdwarf-18446744073709551615"}).substr(0, 52),
            "vrk++: error: argument to '-gdwarf-' is bigger than ");
  EXPECT_EQ(values.x_dwarf_version, 5);
}

TEST_F(handling, DwarfVersionsAndAmbiguity) {
  EXPECT_EQ(apply({"-gdwarf-4"}), "");
  EXPECT_EQ(values.x_dwarf_version, 4);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG);
  EXPECT_EQ(values.x_debug_info_level, 2);
  EXPECT_EQ(apply({"-gdwarf-6"}), "vrk++: error: dwarf version 6 is not supported\n");
  EXPECT_EQ(values.x_debug_info_level, 2);
  EXPECT_EQ(apply({"-gdwarf4"}),
            "vrk++: error: '-gdwarf4' is ambiguous; use '-gdwarf-4' for DWARF version or "
            "'-gdwarf' '-g4' for debug level\n");
  // Plain -gdwarf selects the current version, which -gdwarf-6 has set.
  EXPECT_EQ(apply({"-gdwarf"}), "vrk++: error: dwarf version 6 is not supported\n");
  init_options_struct(&values, &set);
  EXPECT_EQ(apply({"-gdwarf"}), "");
  EXPECT_EQ(values.x_dwarf_version, 5);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG);
}

TEST_F(handling, SanitizerWords) {
  EXPECT_EQ(apply({"-fsanitize=address,undefined"}), "");
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize), 0x037E7FE3u);
  apply({"-fno-sanitize=address"});
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize), 0x037E7FE0u);
  apply({"-fsanitize-undefined-trap-on-error"});
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize_trap), 0x03FFFFE0u);
  apply({"-fno-sanitize-trap"});
  EXPECT_EQ(values.x_flag_sanitize_trap, 0);
  apply({"-fsanitize-trap=all"});
  EXPECT_EQ(std::uint32_t(values.x_flag_sanitize_trap), 0x03FFFFE0u);
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
  apply({"-fdiagnostics-urls=always"});
  EXPECT_NE(global_reporter.msg_printer->url_format, URL_FORMAT_NONE);
  apply({"--diagnostics-plain-output"});
  EXPECT_EQ(global_reporter.msg_printer->url_format, URL_FORMAT_NONE);
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
    generate_option(i, arg, 1, driver_mask, &d);
    d.arg = arg;
    option_values v = values, s = set;
    EXPECT_TRUE(common_handle_option(&v, &s, &d, driver_mask, kind_unspecified,
                                     UNKNOWN_LOCATION, &handlers, &global_reporter))
        << r.text;
  }
  diagnostics();
}

class debug_level : public diagnostics_fixture {
protected:
  void SetUp() override {
    diagnostics_fixture::SetUp();
    init_options_struct(&values, &set);
  }
  void select(std::uint32_t format, const char *level = "") {
    set_debug_level(format, level, &values, &set, UNKNOWN_LOCATION);
  }
  option_values values{}, set{};
};

TEST_F(debug_level, FormatsCombineOrConflict) {
  select(VMS_DEBUG);
  select(DWARF2_DEBUG);
  EXPECT_EQ(diagnostics(),
            "vrk++: error: debug format 'dwarf-2' conflicts with prior selection\n");
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG);

  init_options_struct(&values, &set);
  select(CTF_DEBUG);
  select(BTF_DEBUG);
  EXPECT_EQ(diagnostics(), "vrk++: error: debug format 'btf' conflicts with prior selection\n");
  EXPECT_EQ(values.x_write_symbols, BTF_DEBUG);

  init_options_struct(&values, &set);
  select(DWARF2_DEBUG);
  select(CTF_DEBUG);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG | CTF_DEBUG);
  init_options_struct(&values, &set);
  select(BTF_DEBUG);
  select(DWARF2_DEBUG);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG | BTF_DEBUG);
  EXPECT_EQ(diagnostics(), "");

  // -gctf -g: DWARF joins CTF, in the word and its mark.
  init_options_struct(&values, &set);
  select(CTF_DEBUG);
  EXPECT_EQ(values.x_ctf_debug_info_level, 2);
  select(NO_DEBUG);
  EXPECT_EQ(values.x_write_symbols, CTF_DEBUG | DWARF2_DEBUG);
  EXPECT_EQ(set.x_write_symbols, CTF_DEBUG | DWARF2_DEBUG);
}

TEST_F(debug_level, LevelTexts) {
  select(NO_DEBUG, "3");
  EXPECT_EQ(values.x_debug_info_level, 3);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG);
  select(NO_DEBUG, "4");
  EXPECT_EQ(diagnostics(), "vrk++: error: debug output level '4' is too high\n");
  select(NO_DEBUG, "x");
  EXPECT_EQ(diagnostics(), "vrk++: error: unrecognized debug output level 'x'\n");
  EXPECT_EQ(values.x_debug_info_level, 3);
  select(NO_DEBUG, "0");
  EXPECT_EQ(values.x_debug_info_level, 0);
  // BTF joins DWARF; its level text is refused and changes nothing.
  select(BTF_DEBUG, "1");
  EXPECT_EQ(diagnostics(), "vrk++: error: unrecognized btf debug output level '1'\n");
  EXPECT_EQ(values.x_debug_info_level, 0);
  EXPECT_EQ(values.x_write_symbols, DWARF2_DEBUG | BTF_DEBUG);
}

TEST_F(handling, BtfAndCtfRaiseTheDebugLevel) {
  EXPECT_EQ(apply({"-gbtf3"}), "vrk++: error: unrecognized btf debug output level '3'\n");
  EXPECT_EQ(values.x_debug_info_level, 2);
  init_options_struct(&values, &set);
  apply({"-gctf", "-g"});
  EXPECT_EQ(values.x_write_symbols, CTF_DEBUG | DWARF2_DEBUG);
  EXPECT_EQ(values.x_ctf_debug_info_level, 2);
  EXPECT_EQ(values.x_debug_info_level, 2);
  init_options_struct(&values, &set);
  apply({"-gctf0"});
  EXPECT_EQ(values.x_ctf_debug_info_level, 0);
  EXPECT_EQ(values.x_debug_info_level, 0);
}

}  // namespace
