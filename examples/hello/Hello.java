// Greets each argument on its own line, then exits with the last argument as its status when it
// is a number: the launcher must pass arguments and exit status through unchanged.
public class Hello {
    public static void main(String[] args) {
        String greeting = System.getProperty("greeting", "Hi");
        int status = 0;
        for (String arg : args) {
            System.out.println(greeting + ", [" + arg + "]");
            try {
                status = Integer.parseInt(arg);
            } catch (NumberFormatException notANumber) {
                status = 0;
            }
        }
        System.exit(status);
    }
}
