package greeter;

import greeter.text.Salutation;

/**
 * Shows the arguments exactly as they arrived, greets every one of them, and ends with the status
 * that an argument --exit=N asks for (0 otherwise).
 */
public final class Greeter {
  private Greeter() {}

  public static void main(String[] args) {
    String greeting = System.getProperty("greeter.greeting", Salutation.fromClassPath());
    String home = System.getProperty("greeter.home");
    if (home != null) System.out.println("home: " + home);
    int status = 0;
    for (int i = 0; i < args.length; i++) {
      System.out.println("argument " + (i + 1) + ": [" + args[i] + "]");
    }
    for (String arg : args) {
      if (arg.startsWith("--exit=")) {
        status = Integer.parseInt(arg.substring("--exit=".length()));
      } else {
        System.out.println(Salutation.greet(greeting, arg));
      }
    }
    System.exit(status);
  }
}
