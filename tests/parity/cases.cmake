# The runs orva-host.exe must answer exactly as the native orva-host does:
# each file tool over the sample logs in both formats, the island-contest
# logs, logs with records left out or read with a guess, one mode written
# the ways loggers write it, a download of the online logbook, the layouts
# of several loggers' Cabrillo lines, a log cut off in its last line, a
# generated log of 10,000 QSOs, the reference file made from logs (each
# station's reference chosen, the shapes kept, a log without QSOs among
# others) and checked, standard input, and files that are missing or of
# another kind. Paths are relative to tests/, where each run starts;
# @GENERATED@ stands for the generated log.
#
#   orva_parity_case(NAME [INPUT FILE] ARGS ARGUMENT...)
orva_parity_case(version ARGS --version)

foreach(file sample.adi sample.log iota.adi iota.log iota-dashes.log island-short.log bad.adi
    bad.log newest-first.adi operator-meant.adi modes.log modes.adi lotw.adi lengths.adi
    party-layouts.log cut-off.log)
  string(MAKE_C_IDENTIFIER ${file} name)
  orva_parity_case(score_${name} ARGS import/${file} --score)
  orva_parity_case(explain_${name} ARGS import/${file} --explain)
endforeach()
orva_parity_case(score_adif_option ARGS --adif import/sample.adi --score)
orva_parity_case(explain_cabrillo_option ARGS --cabrillo import/iota.log --explain)
orva_parity_case(score_exchange_fields ARGS --adif import/exchange-fields.adi
  --exchange RST_RCVD,STATE --score)
orva_parity_case(score_exchange_field_absent ARGS import/operator-meant.adi --exchange SRX_STRNG
  --score)
orva_parity_case(score_standard_input INPUT import/sample.adi ARGS --adif - --score)

orva_parity_case(score_generated ARGS @GENERATED@ --score)
orva_parity_case(explain_generated ARGS --adif @GENERATED@ --explain)
orva_parity_case(make_reference_generated ARGS @GENERATED@ --make-reference -)

orva_parity_case(make_reference_two_logs ARGS --cabrillo host/reference/old-2024.log
  --adif host/reference/old-2025.adi --make-reference -)
orva_parity_case(make_reference_bare_logs ARGS host/reference/old-2025.adi import/iota.log
  --make-reference -)
orva_parity_case(make_reference_choices ARGS host/reference/choices.adi --make-reference -)
orva_parity_case(make_reference_keep_all ARGS host/reference/choices.adi --keep-all
  --make-reference -)
orva_parity_case(make_reference_later_log_first ARGS host/reference/later-2025.adi
  --cabrillo host/reference/old-2024.log --make-reference -)
orva_parity_case(make_reference_empty_among_logs ARGS host/reference/old-2025.adi
  host/reference/empty.adi --make-reference -)
orva_parity_case(make_reference_no_log_gave_qso ARGS host/reference/empty.adi
  host/reference/empty.adi --make-reference -)
orva_parity_case(make_reference_names_only ARGS host/reference/names.adi --make-reference -)
orva_parity_case(make_reference_standard_input_empty INPUT host/reference/empty.adi
  ARGS --adif - --make-reference -)
orva_parity_case(check_reference_findings ARGS --check-reference host/reference/faulty.txt)
orva_parity_case(check_reference_example ARGS --check-reference ../examples/ORVA.txt)

orva_parity_case(score_missing_file ARGS --adif import/missing.adi --score)
orva_parity_case(explain_missing_file ARGS import/missing.log --explain)
orva_parity_case(make_reference_missing_log ARGS import/sample.adi import/missing.adi
  --make-reference -)
orva_parity_case(check_reference_missing_file ARGS --check-reference host/reference/missing.txt)
orva_parity_case(score_wrong_kind ARGS --cabrillo import/sample.adi --score)

# The day-after summary as text, JSON and page (the page's bytes to standard
# output), one log and two head to head, a page too long to list all, a
# contest period that cuts the generated log in two in every mode, and a log
# that holds no QSO.
foreach(file sample.adi iota.log)
  string(MAKE_C_IDENTIFIER ${file} name)
  orva_parity_case(summary_${name} ARGS import/${file} --summary)
  orva_parity_case(summary_json_${name} ARGS import/${file} --summary --json)
  orva_parity_case(html_${name} ARGS import/${file} --html -)
endforeach()
set(head_to_head --adif host/summary/mine.adi --adif host/summary/rival.adi)
orva_parity_case(summary_head_to_head ARGS ${head_to_head} --summary)
orva_parity_case(summary_json_head_to_head ARGS ${head_to_head} --summary --json)
# The off-times of a shorter least pause, and a least pause of none refused.
orva_parity_case(summary_json_min_off ARGS host/summary/rival.adi --min-off 10 --summary --json)
orva_parity_case(summary_min_off_zero ARGS host/summary/rival.adi --min-off 0 --summary)
orva_parity_case(html_head_to_head ARGS ${head_to_head} --html -)
orva_parity_case(summary_json_generated ARGS @GENERATED@ --summary --json)
# Its page lists the first of its multipliers and names the program for the rest.
orva_parity_case(html_generated ARGS @GENERATED@ --html -)
# Texts with markup, quotes, control bytes and Latin-1, in the JSON and in the
# page's chart data, beside a log of plain ones.
set(escapes --adif host/summary/escapes.adi --adif host/summary/mine.adi)
orva_parity_case(summary_json_escapes ARGS ${escapes} --summary --json)
orva_parity_case(html_escapes ARGS ${escapes} --html -)
set(second_day @GENERATED@ --from "2026-11-22 12:00")
orva_parity_case(period_score ARGS ${second_day} --score)
orva_parity_case(period_explain ARGS ${second_day} --explain)
orva_parity_case(period_summary ARGS ${second_day} --summary)
orva_parity_case(period_make_reference ARGS ${second_day} --make-reference -)
orva_parity_case(period_to_json ARGS @GENERATED@ --to "2026-11-22 12:00" --summary --json)
orva_parity_case(summary_empty_log ARGS host/summary/empty.adi --summary)
orva_parity_case(summary_missing_file ARGS import/missing.adi --summary --json)

# Files named as the system spells them: a log whose name holds letters of the
# Western code page and beyond it, named in the JSON by its characters and in
# the text as written; a missing one named as typed; standard input named so;
# an empty file called empty; an option written the Windows way answered with
# the one it stands for.
set(beyond_ascii "host/summary/Übung – Ďábel 日本.adi")
orva_parity_case(summary_json_name_beyond_ascii ARGS ${beyond_ascii} --summary --json)
orva_parity_case(summary_name_beyond_ascii ARGS --adif ${beyond_ascii} --summary)
orva_parity_case(score_missing_name_beyond_ascii ARGS "import/Ďábel 日本 missing.adi" --score)
orva_parity_case(summary_json_standard_input INPUT import/sample.log ARGS - --summary --json)
orva_parity_case(score_standard_input_empty INPUT host/summary/empty-file.adi ARGS - --score)
orva_parity_case(score_empty_file ARGS host/summary/empty-file.adi --score)
orva_parity_case(summary_empty_file ARGS --cabrillo host/summary/empty-file.adi --summary)
orva_parity_case(windows_style_option ARGS import/sample.adi /score)
orva_parity_case(windows_style_option_with_value ARGS import/sample.adi /From:2026-11-21 --summary)
